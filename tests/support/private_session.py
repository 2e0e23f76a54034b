#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs a test command inside a private D-Bus session and fails it when it
leaves a process behind.

Usage: private_session.py COMMAND [ARG...]

The command runs under dbus-run-session, so that a toolkit it starts finds a
session bus and never launches one of its own (with dbus-x11 installed, Qt
would otherwise leave a daemon per display and a "dbus-1" folder in the
runtime folder). The session gets a runtime folder of its own, removed at the
end, so that what the bus and the accessibility bus keep there never mixes
with the runtime folder a test gives its program.

This runner adopts every process the command leaves orphaned (it is a child
subreaper). Once the command has ended, processes still running after a
short grace are reported, killed, and fail the run. The exit status is the
command's, 1 for leftovers, 77 (skip) without dbus-run-session.
"""

import ctypes
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PR_SET_CHILD_SUBREAPER = 36
SKIPPED = 77
# The accessibility bus and its registry end on their own once the session
# bus is gone; they get this long.
GRACE_SECONDS = 5.0


def become_subreaper():
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        raise OSError(ctypes.get_errno(), "prctl(PR_SET_CHILD_SUBREAPER)")


def children():
    """The processes whose parent is this one, as {pid: name}, those ended
    but not yet collected included (they are collected before the check)."""
    found = {}
    me = str(os.getpid())
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read()
        except OSError:
            continue
        # The name is in brackets and may hold blanks: the fields after the
        # last bracket are state, then parent.
        name = fields[fields.index("(") + 1:fields.rindex(")")]
        parent = fields[fields.rindex(")") + 2:].split()[1]
        if parent == me:
            found[int(entry)] = name
    return found


def reap():
    """Collects every child that has ended."""
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def left_behind():
    """Waits out the grace, then returns the processes still running."""
    deadline = time.monotonic() + GRACE_SECONDS
    while True:
        reap()
        left = children()
        if not left or time.monotonic() >= deadline:
            return left
        time.sleep(0.05)


def end_all(processes):
    for sig in (signal.SIGTERM, signal.SIGKILL):
        for pid in processes:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 2
        while children() and time.monotonic() < deadline:
            reap()
            time.sleep(0.05)
    reap()


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    if shutil.which("dbus-run-session") is None:
        print("SKIP: dbus-run-session is not installed (apt-get install dbus-bin dbus-daemon)")
        return SKIPPED
    become_subreaper()
    runtime = tempfile.mkdtemp(prefix="session-runtime-")
    env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    command = subprocess.Popen(["dbus-run-session", "--", *argv[1:]], env=env)

    # A test runner's time-out ends this runner: the command and whatever it
    # started end with it.
    def stop(signum, _frame):
        command.send_signal(signum)

    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, stop)
    status = command.wait()

    left = left_behind()
    if left:
        listed = ", ".join(f"{pid} {name}" for pid, name in sorted(left.items()))
        print(f"FAIL: processes left after the test: {listed}")
        end_all(left)
        status = status or 1
    shutil.rmtree(runtime, ignore_errors=True)
    return status if status >= 0 else 128 - status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
