// SPDX-License-Identifier: MIT
#pragma once
// The program's frame window: a multiple-document frame holding the
// generation, verification, archive, card and about windows, with the drawn
// toolbar along its top edge and the status bar along its bottom edge. The
// toolbar switches between the windows, prints the person and ends the
// program. The print command follows the generation window's code; a
// one-second timer keeps the status bar's date and notes up to date.

#include <QDate>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

#include "widgets/status_bar.h"
#include "windows/archive/archivio.h"
#include "windows/frame/about.h"
#include "windows/generation/main_form.h"
#include "windows/generation/tesserino.h"
#include "windows/verification/verifica.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace cf::widgets {
class Toolbar;
}

namespace cf::frame {

// Toolbar buttons, numbered from 1 in the order they are added.
enum ToolbarButton {
    kCreazione = 1,
    kVerifica = 2,
    kArchivio = 3,
    kStampa = 4,
    kInfo = 5,
    kEsci = 6,
};

// The status bar's date pane: ten blanks (room for the pane's icon) and the
// Italian long date, e.g. "          Martedì 8 Dicembre 2026".
QString StatusDateText(const QDate& date);

// What the frame is given from outside; tests replace the defaults.
struct PrincipaleOptions {
    // Ends the program with an exit status, after "Esci", when the frame is
    // closed and when the place file is missing at start. The default leaves
    // the event loop.
    std::function<void(int status)> endProgram;
    // The archive file of the generation and archive windows; empty for the
    // usual place.
    QString archivePath;
};

class Principale : public QMainWindow {
    Q_OBJECT

public:
    // Builds the frame and then the generation window, which loads the place
    // list under the splash window. Neither is shown yet: see Start.
    explicit Principale(PrincipaleOptions options = {}, QWidget* parent = nullptr);

    // Shows the frame with the generation window inside it.
    void start();
    // True once the program has been ended (see PrincipaleOptions::endProgram).
    bool ended() const { return ended_; }

    // Closes the verification, card, archive and about windows, in this order;
    // the generation window stays as it is.
    void closeChildWindows();
    // Redraws both panes of the status bar.
    void updateStatus();
    // The one-second tick: the status bar's date, and the countdown of a
    // note shown instead of it.
    void updateClock();
    // Shows `note` in the status bar's second pane, instead of the date, for
    // `seconds`, or until the next note when 0.
    void showStatusNote(const QString& note, int seconds = kStatusNoteSeconds);
    static constexpr int kStatusNoteSeconds = 10;
    // The note the status bar shows; empty while it shows the date.
    const QString& statusNote() const { return statusNote_; }

    // The generation window, created (with its place list) on first use.
    generation::MainForm& mainForm();

    // The toolbar and the surface it draws on ("picCoolBar").
    QWidget* toolbarSurface() const { return toolbarSurface_; }
    widgets::Toolbar& toolbar() const { return *toolbar_; }
    QMdiArea* mdiArea() const { return mdiArea_; }
    verification::Verifica* verifica() const { return verifica_; }
    archive::Archivio* archivio() const { return archivio_; }
    generation::Tesserino* tesserino() const { return tesserino_; }
    About* about() const { return about_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpFrame();
    void createStatusBar();
    void createToolbar();
    void onToolbarButtonClicked(int button);
    // The print command is enabled while the generation window shows a
    // code, which any change of its data takes back.
    void onCodeChanged(const QString& code);
    void onPrintCommand();
    void printCard();
    void showCard(const Person& person);
    void showLoadedPerson(const Person& person);
    void hideMainForm();
    // Puts the window into a fixed-size sub-window (once) and shows it.
    void showChild(QWidget* window);
    QMdiSubWindow* addChild(QWidget* window);
    void cleanUpWorkFiles();
    void endProgram(int status);

    PrincipaleOptions options_;
    QWidget* toolbarSurface_ = nullptr;
    QWidget* statusBarSurface_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QTimer* secondTimer_ = nullptr;
    QTimer* toolbarTimer_ = nullptr;
    widgets::Toolbar* toolbar_ = nullptr;
    widgets::StatusBar statusBar_;

    QPointer<generation::MainForm> mainForm_;
    QPointer<verification::Verifica> verifica_;
    QPointer<generation::Tesserino> tesserino_;
    QPointer<archive::Archivio> archivio_;
    QPointer<About> about_;

    bool printReady_ = false;
    bool ended_ = false;
    QString statusNote_;
    int statusNoteTicks_ = 0;
};

}  // namespace cf::frame
