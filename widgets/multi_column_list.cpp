// SPDX-License-Identifier: MIT
#include "widgets/multi_column_list.h"

#include "widgets/short_scroll_bar_style.h"
#include "widgets/twips.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

namespace cf::widgets {

namespace {

// Gap between the shared scroll bar and the last column's right edge.
constexpr int kScrollBarInsetTwips = 50;

int SelectedRow(const QListWidget& column)
{
    const QListWidgetItem* item = column.currentItem();
    return item != nullptr && item->isSelected() ? column.currentRow() : -1;
}

// Columns scroll by whole items, so the scroll value is the top row.
int TopRow(const QListWidget& column)
{
    return column.verticalScrollBar()->value();
}

// False for a column with no area or lying wholly outside its window.
bool CanBeSeen(const QListWidget& column)
{
    const QWidget* window = column.parentWidget();
    return !column.geometry().isEmpty()
           && (window == nullptr || window->rect().intersects(column.geometry()));
}

void SetTopRow(QListWidget& column, int top)
{
    // Scrolling to an item first lays out rows added since the last layout.
    if (QListWidgetItem* item = column.item(top))
        column.scrollToItem(item, QAbstractItemView::PositionAtTop);
    else
        column.verticalScrollBar()->setValue(top);
}

// Marks a stretch of work during which alignments asked for by the columns'
// signals are left to the outer call, which ends aligned.
class ReentryGuard {
public:
    explicit ReentryGuard(bool& flag) : flag_(flag), wasSet_(flag) { flag_ = true; }
    ~ReentryGuard() { flag_ = wasSet_; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

private:
    bool& flag_;
    bool wasSet_;
};

}  // namespace

MultiColumnList::MultiColumnList(QObject* parent) : QObject(parent) {}

void MultiColumnList::Create(const Columns& columns, QScrollBar* scrollBar)
{
    columns_.clear();
    for (int i = 0; columns.value(i) != nullptr; ++i)
        columns_.emplace_back(columns.value(i));
    textIndex_ = QList<QHash<QString, int>>(columns_.size());
    scrollBar_ = scrollBar;

    for (int i = 0; i <= LastColumn(); ++i) {
        QListWidget* column = columns_[i];
        column->setUniformItemSizes(true);
        column->setSelectionMode(QAbstractItemView::SingleSelection);
        column->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Hidden, a column that cannot be seen is not offered to screen
        // readers as a list of its own.
        if (!CanBeSeen(*column))
            column->hide();
        connect(column, &QListWidget::itemSelectionChanged, this, [this, i] { Update(i); });
        // Only a column that can be seen is scrolled by the user; a hidden
        // one's own layout must not move the list.
        connect(column->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, i, column] {
            if (!column->isHidden())
                Update(i);
        });
    }
    if (scrollBar_) {
        auto* style = new ShortScrollBarStyle;
        style->setParent(scrollBar_);
        scrollBar_->setStyle(style);
        connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { FollowScrollBar(); });
    }

    PlaceScrollBar();
    Update(0);
}

void MultiColumnList::PlaceScrollBar()
{
    QListWidget* last = Column(LastColumn());
    if (last == nullptr || !scrollBar_)
        return;
    const QRect box = last->geometry();
    scrollBar_->setGeometry(box.x() + box.width() - scrollBar_->width()
                                - twips::ToPixels(kScrollBarInsetTwips),
                            box.y(), scrollBar_->width(), box.height());
    RefreshScrollBar();
}

void MultiColumnList::FollowScrollBar()
{
    QListWidget* first = Column(0);
    if (aligning_ || first == nullptr || !scrollBar_)
        return;
    {
        const ReentryGuard guard(aligning_);
        SetTopRow(*first, scrollBar_->value());
    }
    Update(0);
}

void MultiColumnList::Update(int column)
{
    QListWidget* source = Column(column);
    if (aligning_ || source == nullptr)
        return;
    {
        const ReentryGuard guard(aligning_);
        const int row = SelectedRow(*source);
        const int top = TopRow(*source);
        for (const auto& target : columns_)
            AlignColumn(*target, row, top);
    }
    RefreshScrollBar();
}

// The column's own scroll bar keeps its signals: the view scrolls its
// viewport on them, and the columns' calls back into Update() stop at the
// guard of the caller.
void MultiColumnList::AlignColumn(QListWidget& column, int row, int top)
{
    const QSignalBlocker blockColumn(&column);
    if (SelectedRow(column) != row && row < column.count())
        column.setCurrentRow(row);
    if (TopRow(column) != top)
        SetTopRow(column, top);
}

int MultiColumnList::ListCount() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? first->count() : 0;
}

bool MultiColumnList::AddItems(const QList<QStringList>& rows)
{
    if (columns_.empty())
        return false;
    const qsizetype columnCount = static_cast<qsizetype>(columns_.size());
    QList<QStringList> texts(columns_.size());
    for (QStringList& text : texts)
        text.reserve(rows.size());
    for (const QStringList& cells : rows) {
        if (cells.size() > columnCount)
            return false;
        for (qsizetype i = 0; i < columnCount; ++i)
            texts[i].append(i < cells.size() ? cells[i] : QString());
    }
    {
        const ReentryGuard guard(aligning_);
        for (int i = 0; i <= LastColumn(); ++i)
            columns_[i]->addItems(texts[i]);
        ForgetTextIndex();
    }
    RefreshScrollBar();
    return true;
}

int MultiColumnList::ListIndex() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? SelectedRow(*first) : -1;
}

void MultiColumnList::SetListIndex(int row)
{
    QListWidget* first = Column(0);
    if (first == nullptr)
        return;
    {
        const ReentryGuard guard(aligning_);
        const QSignalBlocker blockColumn(first);
        first->setCurrentRow(row >= 0 && row < first->count() ? row : -1);
    }
    Update(0);
}

int MultiColumnList::TopIndex() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? TopRow(*first) : 0;
}

QString MultiColumnList::List(int row, int column) const
{
    const QListWidget* list = Column(column);
    const QListWidgetItem* item = list != nullptr ? list->item(row) : nullptr;
    return item != nullptr ? item->text() : QString();
}

QString MultiColumnList::List(int row) const
{
    if (row < 0 || row >= ListCount())
        return {};
    QStringList cells;
    for (int i = 0; i <= LastColumn(); ++i)
        cells.append(List(row, i));
    return cells.join(QLatin1Char('\t'));
}

QString MultiColumnList::Text(int column) const
{
    return List(ListIndex(), column);
}

QString MultiColumnList::Text() const
{
    return List(ListIndex());
}

int MultiColumnList::SelectByText(int column, const QString& text)
{
    const QListWidget* list = Column(column);
    if (list == nullptr)
        return -1;
    QHash<QString, int>& index = textIndex_[column];
    if (index.isEmpty() && list->count() > 0) {
        index.reserve(list->count());
        for (int row = list->count() - 1; row >= 0; --row)
            index.insert(list->item(row)->text().toCaseFolded(), row);
    }
    const int row = index.value(text.toCaseFolded(), -1);
    SetListIndex(row);
    return row;
}

QListWidget* MultiColumnList::Column(int column) const
{
    return column >= 0 && column <= LastColumn() ? columns_[column].data() : nullptr;
}

int MultiColumnList::VisibleRowCount()
{
    QListWidget* first = Column(0);
    if (rowHeight_ <= 0 && first->count() > 0)
        rowHeight_ = first->sizeHintForRow(0);
    return rowHeight_ > 0 ? first->contentsRect().height() / rowHeight_ : 0;
}

void MultiColumnList::RefreshScrollBar()
{
    if (!scrollBar_ || Column(0) == nullptr)
        return;
    const int count = ListCount();
    const int visible = VisibleRowCount();
    if (count == 0 || count <= visible) {
        scrollBar_->hide();
        return;
    }
    scrollBar_->show();
    {
        // A range change can clamp the value; that must not scroll the list.
        const QSignalBlocker blocker(scrollBar_);
        scrollBar_->setMinimum(0);
        scrollBar_->setMaximum(count - visible);
        scrollBar_->setSingleStep(1);
        scrollBar_->setPageStep(visible);
    }
    if (scrollBar_->value() != TopIndex())
        scrollBar_->setValue(TopIndex());
}

void MultiColumnList::ForgetTextIndex()
{
    for (auto& index : textIndex_)
        index.clear();
}

}  // namespace cf::widgets
