#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""The whole windowed program, read and driven over AT-SPI as a screen reader
does, under a private Xvfb server.

Controls are found by role and accessible name, texts are typed through the
editable-text interface, buttons pressed through their action, and message
boxes found, read and answered as dialogs. The run generates and archives
three persons (the card window and back each time, the first code copied to
the clipboard), verifies a correct code, one with a wrong check character and
a Partita IVA, and a code against a person's data that fit it and that do not
(the verdict read from the window), deletes a person in the archive window,
opens the help pages
from the about window and ends with "Esci": the archive file must then hold
the two persons left, and no work file may remain.

Run it inside a private D-Bus session (tests/support/private_session.py).
Usage: windowed_program_test.py PROGRAM
Exit status: 0 passed, 1 failed, 77 skipped (a tool or library missing).
"""

import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

SKIPPED = 77
# The whole run, set-up included, never takes longer than this.
TIME_LIMIT_SECONDS = 60
# No single step waits longer than this.
STEP_SECONDS = 10

PERSONS = [
    # surname, first name, sex, date, place, code, province
    ("BIANCHI", "LUCIA", "F", "03/07/85", "ROMA", "BNCLCU85L43H501J", "RM"),
    ("VERDI", "GIANCARLO", "M", "10/02/70", "MILANO", "VRDGCR70B10F205A", "MI"),
    ("ROSSI", "MARIO", "M", "01/01/80", "TORINO", "RSSMRA80A01L219M", "TO"),
]
# X key symbols.
XK_DOWN = 0xFF54
XK_RETURN = 0xFF0D


class Failure(Exception):
    pass


def skip(reason):
    print(f"SKIP: {reason}")
    sys.exit(SKIPPED)


def check_tools():
    for tool in ("Xvfb", "xclip"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed (apt-get install xvfb xclip)")
    if importlib.util.find_spec("pyatspi") is None:
        skip("pyatspi is not installed (apt-get install python3-pyatspi at-spi2-core)")
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        skip("no private D-Bus session: run this under tests/support/private_session.py")


def wait_until(what, probe, seconds=STEP_SECONDS):
    """Polls probe until it gives a true value, which it returns."""
    from gi.repository import GLib

    deadline = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except GLib.Error:  # an object gone meanwhile, such as a closed box
            value = None
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure(f"{what}: not within {seconds} s")
        time.sleep(0.05)


class Screen:
    """A private Xvfb server, with the session's services told its name."""

    def __init__(self):
        # -noreset: the server would otherwise reset when its last client
        # leaves (the accessibility bus launcher, which only writes a root
        # window property), dropping whoever connects at that moment.
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        number = self.server.stdout.readline().decode().strip()
        if not number:
            self.close()
            skip("Xvfb did not start")
        self.display = ":" + number
        # Key events are sent by the accessibility registry, which the
        # session starts on demand: it must know the display.
        subprocess.run(["dbus-update-activation-environment", f"DISPLAY={self.display}"], check=True)

    def close(self):
        self.server.terminate()
        self.server.wait()


class Program:
    """A copy of the program in a folder of its own, which then holds the
    archive, with private home and runtime folders."""

    def __init__(self, executable, display):
        self.work = tempfile.mkdtemp(prefix="e2e-")
        self.bin = os.path.join(self.work, "bin")
        self.runtime = os.path.join(self.work, "runtime")
        home = os.path.join(self.work, "home")
        stubs = os.path.join(self.work, "stubs")
        for folder in (self.bin, self.runtime, home, stubs):
            os.makedirs(folder, mode=0o700)
        shutil.copy(executable, self.bin)
        self.archive = os.path.join(self.bin, "codarc.dat")
        self.log_path = os.path.join(self.work, "program.log")
        # The help pages open through xdg-open: recorded instead of a browser.
        self.opened = os.path.join(self.work, "opened")
        with open(os.path.join(stubs, "xdg-open"), "w") as stub:
            stub.write(f'#!/bin/sh\necho "$1" >> "{self.opened}"\n')
        os.chmod(os.path.join(stubs, "xdg-open"), 0o700)
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   HOME=home, XDG_RUNTIME_DIR=self.runtime, XDG_DATA_HOME=os.path.join(home, "data"),
                   PATH=stubs + os.pathsep + os.environ["PATH"], BROWSER="true")
        with open(self.log_path, "wb") as log:
            self.process = subprocess.Popen([os.path.join(self.bin, "codicefiscale")], cwd=self.bin, env=env,
                                            stdout=log, stderr=subprocess.STDOUT)

    def opened_pages(self):
        if not os.path.exists(self.opened):
            return []
        with open(self.opened) as opened:
            return [os.path.basename(line.strip()) for line in opened]

    def log(self):
        with open(self.log_path, errors="replace") as log:
            return log.read()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.work, ignore_errors=True)


class Reader:
    """What a screen reader gets from the program, and its means of acting."""

    def __init__(self, process):
        import pyatspi
        self.atspi = pyatspi
        # Roles whose children are rows (the place list has thousands): a
        # search does not go into them.
        self.rows = (pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE)
        self.app = wait_until("the program on the accessibility bus", lambda: self._application(process), 30)

    def _application(self, process):
        if process.poll() is not None:
            raise Failure(f"the program ended with status {process.returncode}")
        desktop = self.atspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == process.pid and app.childCount > 0:
                return app
        return None

    # --- Reading

    def showing(self, node):
        return node.getState().contains(self.atspi.STATE_SHOWING)

    def enabled(self, node):
        return node.getState().contains(self.atspi.STATE_ENABLED)

    def find_all(self, root, role, name=None):
        """Showing nodes under root with this role (and name), in tree order."""
        found = []
        stack = [root]
        while stack:
            node = stack.pop()
            if node is None or not self.showing(node):
                continue
            if node.getRole() == role and (name is None or node.name == name):
                found.append(node)
            if node is root or node.getRole() not in self.rows:
                stack.extend(reversed([node.getChildAtIndex(i) for i in range(node.childCount)]))
        return found

    def find(self, root, role, name):
        found = self.find_all(root, role, name)
        return found[0] if found else None

    def wait_for(self, root, role, name, what=None):
        return wait_until(what or f"'{name}'", lambda: self.find(root, role, name))

    def window(self, title):
        """A showing top-level or MDI window with this title."""
        return self.wait_for(self.app, self.atspi.ROLE_FRAME, title, f"the window '{title}'")

    def text(self, node):
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def dialog(self):
        """The message box on show, if any."""
        for window in self.app:
            if window is not None and window.getRole() in (self.atspi.ROLE_ALERT, self.atspi.ROLE_DIALOG) \
                    and self.showing(window):
                return window
        return None

    def dialog_text(self, box):
        return "\n".join(label.name for label in self.find_all(box, self.atspi.ROLE_LABEL) if label.name)

    # --- Acting

    def press(self, node):
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == "Press":
                action.doAction(i)
                return
        raise Failure(f"'{node.name}' has no press action")

    def type_into(self, box, text):
        box.queryEditableText().setTextContents(text)

    def key(self, keysym):
        self.atspi.Registry.generateKeyboardEvent(keysym, None, self.atspi.KEY_SYM)

    def focus(self, node):
        node.queryComponent().grabFocus()
        wait_until(f"the focus on '{node.name}'", lambda: node.getState().contains(self.atspi.STATE_FOCUSED))

    def dump(self, node=None, depth=0):
        """The tree as the reader sees it, rows left out."""
        node = node or self.app
        try:
            flags = ("" if self.enabled(node) else " disabled") \
                + (" focused" if node.getState().contains(self.atspi.STATE_FOCUSED) else "")
            print(f"{'  ' * depth}{node.getRoleName()} '{node.name}'{flags}")
            if node.getRole() in self.rows and depth > 0:
                print(f"{'  ' * depth}  ({node.childCount} rows)")
                return
            for child in node:
                if child is not None and self.showing(child):
                    self.dump(child, depth + 1)
        except Exception as error:  # a window closing meanwhile
            print(f"{'  ' * depth}({error})")


class Session:
    """The scenario's steps, over one running program."""

    def __init__(self, reader, program, display):
        self.r = reader
        self.a = reader.atspi
        self.program = program
        self.display = display
        self.frame = wait_until("the main window", self._frame, 30)
        self._check_names()

    def _check_names(self):
        """Fails at once, saying which, when the toolbar or the data boxes
        give a screen reader no names to find them by."""
        form = self.r.window("Genera Codice Fiscale")
        missing = [f"the toolbar button '{caption}'" for caption in ("Creazione", "Esci")
                   if self.r.find(self.frame, self.a.ROLE_PUSH_BUTTON, caption) is None]
        missing += [f"the box '{caption}'" for caption in ("Cognome", "Luogo")
                    if self.r.find(form, self.a.ROLE_TEXT, caption) is None]
        if missing:
            raise Failure("no accessible name for " + ", ".join(missing))

    def _frame(self):
        for window in self.r.app:
            if window is not None and window.name.startswith("Codice fiscale - Versione") and self.r.showing(window):
                return window
        return None

    def toolbar_button(self, caption):
        return self.r.wait_for(self.frame, self.a.ROLE_PUSH_BUTTON, caption, f"the toolbar button '{caption}'")

    def toolbar(self, caption):
        self.r.press(self.toolbar_button(caption))

    def answer(self, expected, button):
        """Waits for a message box saying expected, presses its button and
        waits for it to go."""
        box = wait_until(f"a message box '{expected}'", self.r.dialog)
        if box.name != "Codice fiscale":
            raise Failure(f"the message box '{expected}' is titled '{box.name}'")
        said = self.r.dialog_text(box)
        if expected not in said:
            raise Failure(f"the message box says '{said}', not '{expected}'")
        self.r.press(self.r.wait_for(box, self.a.ROLE_PUSH_BUTTON, button))

        # Another box may follow at once.
        def closed():
            shown = self.r.dialog()
            return shown is None or self.r.dialog_text(shown) != said

        wait_until(f"the message box '{expected}' closed", closed)

    def box(self, window, caption):
        return self.r.wait_for(window, self.a.ROLE_TEXT, caption, f"the box '{caption}'")

    def value_label(self, window, value):
        """A label showing this value: read as its name, which may start with
        the caption of the value ("Provincia: RM")."""
        for label in self.r.find_all(window, self.a.ROLE_LABEL):
            if label.name == value or label.name.endswith(": " + value):
                return label
        return None

    def wait_for_value(self, window, value, where):
        wait_until(f"'{value}' {where}", lambda: self.value_label(window, value))

    # --- Generation window

    def copy_code(self, form, code):
        """The code label copies the code from the keyboard, as a click does."""
        self.r.focus(self.value_label(form, code))
        self.r.key(XK_RETURN)
        self.answer("Codice fiscale copiato negli appunti!", "OK")
        clipboard = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, text=True,
                                   env=dict(os.environ, DISPLAY=self.display), timeout=STEP_SECONDS).stdout
        if clipboard != code:
            raise Failure(f"the clipboard holds '{clipboard}', not {code}")

    def generate_and_archive(self, person, copy=False):
        surname, first_name, sex, date, place, code, province = person
        form = self.r.window("Genera Codice Fiscale")
        for caption, value in (("Cognome", surname), ("Nome", first_name), ("Sesso", sex),
                               ("Data di nascita", date), ("Luogo", place)):
            self.r.type_into(self.box(form, caption), value)
        archive = self.r.wait_for(form, self.a.ROLE_PUSH_BUTTON, "Archivia dati")
        if self.r.enabled(archive):
            raise Failure("Archivia dati is enabled before a code was generated")
        self.r.press(self.r.wait_for(form, self.a.ROLE_PUSH_BUTTON, "Genera Codice Fiscale"))

        # The card shows the person; Enter on its link leads back to the data.
        card = self.r.window("Tesserino del codice fiscale")
        for value in (code, surname, first_name, sex, place, province, date):
            self.wait_for_value(card, value, "on the card")
        self.r.focus(self.r.wait_for(card, self.a.ROLE_LABEL, "Torna al quadro dati"))
        self.r.key(XK_RETURN)

        form = self.r.window("Genera Codice Fiscale")
        self.wait_for_value(form, code, "in the data window")
        self.wait_for_value(form, province, "in the data window")
        wait_until("Archivia dati enabled after Generate", lambda: self.r.enabled(archive))
        # The person can be printed and the card shown again.
        wait_until("Stampa enabled after Generate", lambda: self.r.enabled(self.toolbar_button("Stampa")))
        self.r.wait_for(form, self.a.ROLE_PUSH_BUTTON, "Visualizza Codice Fiscale")
        if copy:
            self.copy_code(form, code)
        self.r.press(archive)
        self.answer("Vuoi archiviare questi dati?", "Sì")
        self.answer("Dati archiviati!", "OK")

        self.r.press(self.r.wait_for(form, self.a.ROLE_PUSH_BUTTON, "Nuovo Codice"))
        wait_until("the surname box emptied by Nuovo Codice", lambda: self.r.text(self.box(form, "Cognome")) == "")
        if self.value_label(form, code) is not None:
            raise Failure("the code is still shown after Nuovo Codice")
        wait_until("Stampa disabled after Nuovo Codice", lambda: not self.r.enabled(self.toolbar_button("Stampa")))

    # --- Verification window

    def verify(self, code, verdict, fields=(), province=None):
        window = self.r.window("Verifica codice")
        self.r.type_into(self.box(window, "Codice Fiscale/Partita IVA"), code)
        self.r.press(self.r.wait_for(window, self.a.ROLE_PUSH_BUTTON, "Verifica Codice Fiscale"))
        self.answer(verdict, "OK")
        for caption, value in fields:
            shown = self.r.text(self.box(window, caption))
            if shown != value:
                raise Failure(f"verifying {code}: '{caption}' shows '{shown}', not '{value}'")
        # The province is read by caption and value, and the verdict stays
        # in the window once its box has gone.
        if province is not None:
            self.r.wait_for(window, self.a.ROLE_LABEL, f"Provincia: {province}")
        self.r.wait_for(window, self.a.ROLE_LABEL, f"Esito: {verdict}")

    def verify_person(self, code, person, verdict):
        """Types the person's data beside the code; the comparison closes the
        message box and stays in the window, read by caption and value."""
        window = self.r.window("Verifica codice")
        for caption, value in zip(("Cognome", "Nome", "Sesso", "Data di nascita", "Luogo di nascita"), person):
            self.r.type_into(self.box(window, f"{caption} della persona"), value)
        self.r.type_into(self.box(window, "Codice Fiscale/Partita IVA"), code)
        self.r.press(self.r.wait_for(window, self.a.ROLE_PUSH_BUTTON, "Verifica Codice Fiscale"))
        self.answer(verdict, "OK")
        self.r.wait_for(window, self.a.ROLE_LABEL, f"Confronto con i dati: {verdict}")

    # --- Archive window

    def archive_rows(self, window):
        """The archive list and its rows as its three shown columns give
        them (surname, first name, code), read through its table interface;
        no rows when one went while they were read."""
        table = self.r.find(window, self.a.ROLE_TABLE, "Persone archiviate")
        if table is None:
            raise Failure("the archive window shows no table named 'Persone archiviate'")
        cells = table.queryTable()
        rows = []
        for row in range(cells.nRows):
            row_cells = [cells.getAccessibleAt(row, column) for column in range(3)]
            if None in row_cells:
                return table, None  # a row went while the table was read
            rows.append(tuple(cell.name for cell in row_cells))
        return table, rows

    def delete_a_row(self, expected_rows):
        """Moves to a row from the keyboard, deletes it and returns the
        surname in it."""
        window = self.r.window("Archivio codici fiscali")
        table, rows = self.archive_rows(window)
        if rows != expected_rows:
            raise Failure(f"the archive list holds {rows}, not {expected_rows}")
        delete = self.r.wait_for(window, self.a.ROLE_PUSH_BUTTON, "Elimina dati selezionati")
        if self.r.enabled(delete):
            raise Failure("Elimina dati selezionati is enabled with no row selected")
        self.r.focus(table)
        self.r.key(XK_DOWN)
        wait_until("Elimina dati selezionati enabled by a selected row", lambda: self.r.enabled(delete))
        selected = [rows[row][0] for row in table.queryTable().getSelectedRows()]
        if len(selected) != 1:
            raise Failure(f"selected rows after Down: {selected}")
        self.r.press(delete)
        left = [row for row in expected_rows if row[0] != selected[0]]
        wait_until(f"the row {selected[0]} gone from the list", lambda: self.archive_rows(window)[1] == left)
        return selected[0]

    # --- About window

    def open_help_pages(self):
        """The about window's buttons show the pages in the program's own
        viewer, titled as the pages are: no browser, no file written."""
        window = self.r.window("Informazioni")
        for caption, title in (("Richiamare Codice Fiscale dalla riga di comando",
                                "Codice fiscale – Uso dalla riga di comando"),
                               ("Informazioni sulla codificazione delle persone fisiche",
                                "Codice fiscale – Come si forma il codice delle persone fisiche")):
            self.r.press(self.r.wait_for(window, self.a.ROLE_PUSH_BUTTON, caption))
            self.r.window(title)
        if self.program.opened_pages():
            raise Failure(f"pages handed to the desktop: {self.program.opened_pages()}")
        for page in ("varnel.htm", "codicefiscale.htm"):
            if os.path.exists(os.path.join(self.program.runtime, "codicefiscale", page)):
                raise Failure(f"{page} was written to the work directory")

    def exit(self):
        self.toolbar("Esci")
        try:
            status = self.program.process.wait(STEP_SECONDS)
        except subprocess.TimeoutExpired:
            raise Failure("the program did not end after Esci") from None
        if status != 0:
            raise Failure(f"exit status {status} after Esci")


def archive_lines(path):
    with open(path, encoding="cp1252", newline="") as archive:
        return archive.read().split("\r\n")[:-1]


def record(person):
    surname, first_name, sex, date, place, code, province = person
    return ",".join(f'"{field}"' for field in (surname, first_name, code, sex, date, place, province))


def run(session, program):
    for person in PERSONS:
        session.generate_and_archive(person, copy=person is PERSONS[0])

    session.toolbar("Verifica")
    session.verify("BNCLCU85L43H501J", "Codice Fiscale formalmente corretto",
                   (("Cognome", "BNC"), ("Nome", "LCU"), ("Sesso", "F"), ("Luogo", "ROMA")), "RM")
    session.verify("BNCLCU85L43H501K", "Codice Fiscale formalmente errato")
    session.verify("12345678903", "Partita IVA formalmente corretta")
    session.verify_person("BNCLCU85L43H501J", ("BIANCHI", "LUCIA", "F", "03/07/1985", "ROMA"),
                          "Il codice corrisponde ai dati")
    session.verify_person("BNCLCU85L43H501J", ("BIANCHI", "LUCIA", "F", "03/07/1986", "ROMA"),
                          "Data di nascita: il codice indica 03/07/1985, i dati 03/07/1986")

    session.toolbar("Archivio")
    deleted = session.delete_a_row([(surname, first_name, code)
                                    for surname, first_name, _, _, _, code, _ in sorted(PERSONS)])

    session.toolbar("Info")
    session.open_help_pages()
    session.exit()

    lines = archive_lines(program.archive)
    # A delete writes the rows left in their display order.
    wanted = [record(person) for person in sorted(PERSONS) if person[0] != deleted]
    if lines != wanted:
        raise Failure(f"codarc.dat holds {lines}, not {wanted}")
    left = os.listdir(program.runtime)
    if left != ["codicefiscale"]:
        raise Failure(f"files loose in the runtime folder: {left}")
    left = os.listdir(os.path.join(program.runtime, "codicefiscale"))
    if left:
        raise Failure(f"work files left: {left}")


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    check_tools()
    warnings.simplefilter("ignore", DeprecationWarning)

    def time_out(_signum, _frame):
        raise Failure(f"time out: the run took over {TIME_LIMIT_SECONDS} s")

    signal.signal(signal.SIGALRM, time_out)
    signal.alarm(TIME_LIMIT_SECONDS)
    started = time.monotonic()
    screen = None
    program = None
    reader = None
    try:
        screen = Screen()
        program = Program(argv[1], screen.display)
        reader = Reader(program.process)
        run(Session(reader, program, screen.display), program)
    except Failure as failure:
        print(f"FAIL: {failure}")
        if reader is not None and program.process.poll() is None:
            print("What a screen reader sees:")
            reader.dump()
        if program is not None:
            print("".join(f"program: {line}\n" for line in program.log().splitlines()))
        return 1
    finally:
        signal.alarm(0)
        if program is not None:
            program.close()
        if screen is not None:
            screen.close()
    print(f"PASS: three persons generated and archived, a code copied, three codes verified, a code compared "
          f"with a person's data twice, a person deleted, "
          f"the help pages opened, ended by Esci ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
