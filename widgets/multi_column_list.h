// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QListWidget;
class QScrollBar;

namespace cf::widgets {

// One list of several columns made of list boxes that the host window places
// side by side (row r of the list is item r of every list box), with one
// vertical scroll bar of the host. The selected row and the top row of all
// columns are kept equal, and the scroll bar follows column 0.
//
// The host owns the list boxes and the scroll bar; they must share one parent
// widget. Create() switches the columns' own scroll bars off, hides the
// columns that cannot be seen (no area, or outside the parent widget) and
// keeps the columns in step by itself after a selection or scroll in any column and a
// move of the shared scroll bar. A host may still call Update() from its own
// handlers: nested and repeated calls are harmless and always end with all
// columns on the same selected and top row.
class MultiColumnList : public QObject {
    Q_OBJECT

public:
    // The host's numbered list boxes; column i is entry i. Numbering stops at
    // the first missing number, so entries 0, 1 and 3 make two columns.
    using Columns = QMap<int, QListWidget*>;

    explicit MultiColumnList(QObject* parent = nullptr);

    void Create(const Columns& columns, QScrollBar* scrollBar);
    // Aligns every column to the selected row and top row of `column`.
    void Update(int column);

    int ListCount() const;
    // Adds rows, without a repaint per row: cells[i] of a row goes to
    // column i; missing cells are empty. Returns false and adds nothing when
    // a row has more cells than there are columns.
    bool AddItems(const QList<QStringList>& rows);

    // The selected row, -1 when none.
    int ListIndex() const;
    // Selects the row in every column; a row outside the list clears the
    // selection. The columns are aligned without raising their selection
    // signals to the host.
    void SetListIndex(int row);
    int TopIndex() const;

    // The cell's text; empty when the cell does not exist.
    QString List(int row, int column) const;
    // The row's cells from column 0 to the last, joined by tabs; empty when
    // the row does not exist.
    QString List(int row) const;
    QString Text(int column) const;
    QString Text() const;

    // Selects the first row whose cell in `column` equals `text` ignoring
    // case, or clears the selection when there is none. Returns the row or -1.
    int SelectByText(int column, const QString& text);

private:
    QListWidget* Column(int column) const;
    int LastColumn() const { return static_cast<int>(columns_.size()) - 1; }
    // Lays the scroll bar over the right edge of the last column, 50 twips
    // inside it, and refreshes it.
    void PlaceScrollBar();
    // Scrolls column 0 to the scroll bar's position, then aligns to column 0.
    void FollowScrollBar();
    int VisibleRowCount();
    void RefreshScrollBar();
    void AlignColumn(QListWidget& column, int row, int top);
    void ForgetTextIndex();

    QList<QPointer<QListWidget>> columns_;
    QPointer<QScrollBar> scrollBar_;
    int rowHeight_ = 0;  // pixels; known once a row exists
    bool aligning_ = false;
    // Per column: case-folded text -> first row; built on the first lookup.
    QList<QHash<QString, int>> textIndex_;
};

}  // namespace cf::widgets
