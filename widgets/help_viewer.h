// SPDX-License-Identifier: MIT
#pragma once
// The program's own help viewer: a window that shows the embedded help pages
// (varnel.htm, codicefiscale.htm) from memory, so that help works without a
// browser and without writing anything to disk. Links between and inside the
// pages are followed in the viewer; mailto: and web links go to the desktop
// (platform::OpenUrl). Esc closes it. F1 anywhere in the program shows the
// page named by the focused window (SetHelpTopic), through InstallHelpKey.

#include <QMainWindow>
#include <QString>
#include <QTextBrowser>
#include <QUrl>

namespace cf::widgets {

// A topic is a page's file name with an optional anchor: "varnel.htm#tastiera".
inline constexpr char kCommandLineHelpTopic[] = "varnel.htm";
inline constexpr char kCodeHelpTopic[] = "codicefiscale.htm";

// The pages' browser: loads the embedded pages by their file names.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // The page text of an embedded page by its file name; a null variant for
    // any other name (the browser then shows nothing for it).
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void onLinkClicked(const QUrl& link);
};

// The window, titled as the page shown ("HelpViewer"); a main window, so that
// screen readers list it as a window of its own.
class HelpViewer : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    HelpBrowser* browser() const { return browser_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    HelpBrowser* browser_ = nullptr;
};

// Shows `topic` in the program's one help viewer, creating it on first use and
// raising it when it is already open.
void ShowHelp(const QString& topic);

// The viewer while it is open, else nullptr.
HelpViewer* OpenHelpViewer();

// Names the help topic of `window` and of everything inside it that names none
// of its own.
void SetHelpTopic(QWidget* window, const QString& topic);

// The topic of the focused widget's nearest ancestor (itself included) that
// names one; `fallback` when none does.
QString HelpTopicFor(const QWidget* focused, const QString& fallback);

// F1 (without modifiers) pressed in any widget of the application shows the
// topic of the widget that gets the key, the one with the focus
// (HelpTopicFor), `fallback` when it names none. The key's watch lasts as
// long as `owner`.
void InstallHelpKey(QWidget* owner, const QString& fallback);

}  // namespace cf::widgets
