// SPDX-License-Identifier: MIT
#pragma once
// The archive window: the archived persons as a table of all their fields,
// which a search box filters and a click on a column's title orders, with
// commands to load a person back into the generation window, delete one
// (and undo that), copy a code and print the whole archive. The window may
// be enlarged, and opens again at its last size until the program ends.

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "engine/code/person.h"
#include "engine/storage/archive_file.h"
#include "windows/archive/archive_model.h"

namespace cf::archive {

class Archivio : public QWidget {
    Q_OBJECT

public:
    // Opens the pop-up menu at a screen position and returns once it is
    // closed; the default runs it as a modal pop-up.
    using PopupPresenter = std::function<void(QMenu& menu, const QPoint& globalPosition)>;

    // Loads the archive at `archivePath` (by default cf::ArchivePath()).
    explicit Archivio(const QString& archivePath = {}, QWidget* parent = nullptr);

    // The persons: one table over the archive, with a title on each column.
    // The controls keep the original controls' names as their objectName
    // (personTable() is "List1").
    QTableView* personTable() const { return personTable_; }
    // The search: the words typed filter the rows at once; Esc empties it.
    QLineEdit* searchBox() const { return searchBox_; }
    // "2 di 3 persone": the rows shown of all.
    QLabel* countLabel() const { return countLabel_; }
    QPushButton* loadButton() const { return loadButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QPushButton* printButton() const { return printButton_; }
    QAction* copyAction() const { return copyAction_; }
    // Ctrl+Z: puts the person deleted last back, until the window closes.
    QAction* undoDeleteAction() const { return undoAction_; }
    const ArchiveModel& model() const { return *model_; }
    // The selected row, -1 when none.
    int selectedRow() const;

    // The size the window opens at: the one it last had in this run, at
    // least the size it was designed at.
    QSize sizeHint() const override;

    void setPopupPresenter(PopupPresenter presenter) { popupPresenter_ = std::move(presenter); }

signals:
    // The person chosen to load back into the generation window; the
    // window has closed.
    void personChosen(const Person& person);
    // What a delete or its undoing did, for the status bar.
    void statusNote(const QString& note);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void createList();
    void createSearch();
    void layOutControls();
    void loadArchive();
    void selectRow(int row);
    // Runs `change` of the rows shown, keeping the selected person selected
    // when it still shows.
    void keepSelection(const std::function<void()>& change);
    void onSearchEdited(const QString& text);
    void onSortChosen(int column, Qt::SortOrder order);
    void updateCount();
    void copySelectedCode();
    void onActivated();
    void updateCommands();
    void onRightMouseDown(const QPoint& globalPosition);
    void onCopyChosen();
    void onLoadClicked();
    void onDeleteClicked();
    void onUndoChosen();
    // Writes the archive as the list now holds it. On a failure `revert`
    // puts the list back as it was, or, when another program changed the
    // file meanwhile, the file is loaded again; a message says why.
    bool rewriteArchive(const std::function<void()>& revert);
    void onPrintClicked();
    void closeForGood();

    QString archivePath_;
    ArchiveModel* model_ = nullptr;
    QTableView* personTable_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QPushButton* loadButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    // The line of the person deleted last, as the file held it, and their name.
    std::optional<std::string> deletedLine_;
    QString deletedName_;
    PopupPresenter popupPresenter_;
    bool hostWatched_ = false;
};

}  // namespace cf::archive
