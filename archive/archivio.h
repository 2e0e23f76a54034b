// SPDX-License-Identifier: MIT
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

#include "engine/archive_file.h"

class QListWidget;

namespace cf::widgets {
class MultiColumnList;
}

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
    explicit Archivio(MainFormProvider mainForm, const QString& archivePath = {}, QWidget* parent = nullptr);

    QListWidget* List1(int column) const { return columns_.at(column); }
    QScrollBar* VScroll1() const { return scrollBar_; }
    QPushButton* Command1() const { return loadButton_; }
    QPushButton* Command2() const { return deleteButton_; }
    QPushButton* Command3() const { return printButton_; }
    QAction* mnCopia() const { return copyAction_; }
    widgets::MultiColumnList& list() const { return *personList_; }

    void setPopupPresenter(PopupPresenter presenter) { popupPresenter_ = std::move(presenter); }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void loadArchive();
    void onActivated();
    void onRowClicked();
    void onRightMouseDown(const QPoint& globalPosition);
    void onCopyChosen();
    void onLoadClicked();
    void onDeleteClicked();
    void onPrintClicked();
    // The person of a row of the list.
    Person personInRow(int row) const;
    void Unload();

    MainFormProvider mainForm_;
    QString archivePath_;
    ArchiveStamp archiveStamp_;  // the file as loaded or last rewritten
    std::array<QListWidget*, kColumnCount> columns_{};
    QScrollBar* scrollBar_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* copyAction_ = nullptr;
    widgets::MultiColumnList* personList_ = nullptr;
    PopupPresenter popupPresenter_;
    bool hostWatched_ = false;
};

}  // namespace cf::archive
