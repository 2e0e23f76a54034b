#pragma once
// The archive window: the archived persons as a seven-column list of which
// three columns show, with commands to load a person back into the
// generation window, delete one, copy a code and print the whole archive.

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include <array>
#include <functional>

#include "archive/archive_printout.h"
#include "engine/archive_file.h"
#include "platform/line_printer.h"

class CMultiListbox;
class QListWidget;

namespace cf::generation {
class MainForm;
}

namespace cf::archive {

class Archivio : public QWidget {
    Q_OBJECT

public:
    // Gives the generation window, creating it on first use.
    using MainFormProvider = std::function<generation::MainForm&()>;
    // Opens the pop-up menu at a screen position and returns once it is
    // closed; the default runs it as a modal pop-up.
    using PopupPresenter = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    static constexpr int kColumnCount = 7;

    // Loads the archive at `archivePath` (by default cf::ArchivePath()).
    explicit Archivio(MainFormProvider mainForm, const QString& archivePath = {},
                      QWidget* parent = nullptr);

    QListWidget* List1(int column) const { return list1_.at(column); }
    QScrollBar* VScroll1() const { return vScroll1_; }
    QPushButton* Command1() const { return command1_; }
    QPushButton* Command2() const { return command2_; }
    QPushButton* Command3() const { return command3_; }
    QAction* mnCopia() const { return mnCopia_; }
    CMultiListbox& list() const { return *list_; }

    void setPopupPresenter(PopupPresenter presenter) { popupPresenter_ = std::move(presenter); }
    // Where "&Stampa archivio" prints; by default the default printer, and
    // without one a PDF file the user chooses.
    void setPrintTarget(const platform::PrintTarget& target) { printTarget_ = target; }

signals:
    // The archive printout went to this PDF file for want of a printer.
    void savedToPdf(const QString& file);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    void Form_Activate();
    void List1_Click();
    void List1_RightMouseDown(const QPoint& globalPosition);
    void mnCopia_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void SaveAsPdf(const ArchiveRows& rows);
    void Unload();

    MainFormProvider mainForm_;
    QString archivePath_;
    ArchiveStamp archiveStamp_;  // the file as loaded or last rewritten
    std::array<QListWidget*, kColumnCount> list1_{};
    QScrollBar* vScroll1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QMenu* copia_ = nullptr;
    QAction* mnCopia_ = nullptr;
    CMultiListbox* list_ = nullptr;
    PopupPresenter popupPresenter_;
    platform::PrintTarget printTarget_ = platform::PrintTarget::DefaultPrinter();
    bool hostWatched_ = false;
};

}  // namespace cf::archive
