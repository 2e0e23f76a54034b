#include "widgets/multi_listbox.h"

#include "widgets/twips.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

namespace {

// Gap between the shared scroll bar and the last column's right edge.
constexpr int kScrollBarInsetTwips = 50;

int SelectedRow(const QListWidget& column)
{
    const QListWidgetItem* item = column.currentItem();
    return item != nullptr && item->isSelected() ? column.currentRow() : -1;
}

// Columns scroll by whole items, so the scroll value is the top row.
int TopRow(const QListWidget& column) { return column.verticalScrollBar()->value(); }

void SetTopRow(QListWidget& column, int top)
{
    // Scrolling to an item first lays out rows added since the last layout.
    if (QListWidgetItem* item = column.item(top))
        column.scrollToItem(item, QAbstractItemView::PositionAtTop);
    else
        column.verticalScrollBar()->setValue(top);
}

// Marks a stretch of work during which calls of Update() coming back from the
// columns' signals are left to the outer call, which ends aligned.
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

CMultiListbox::CMultiListbox(QObject* parent) : QObject(parent) {}

CMultiListbox& CMultiListbox::Create(const Columns& columns, QScrollBar* scrollBar)
{
    columns_.clear();
    for (int i = 0; columns.value(i) != nullptr; ++i)
        columns_.emplace_back(columns.value(i));
    textIndex_.assign(columns_.size(), {});
    scrollBar_ = scrollBar;

    for (int i = 0; i <= LastColumn(); ++i) {
        QListWidget* column = columns_[i];
        column->setUniformItemSizes(true);
        column->setSelectionMode(QAbstractItemView::SingleSelection);
        column->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        column->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        column->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        connect(column, &QListWidget::itemSelectionChanged, this, [this, i] { Update(i); });
        connect(column->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this, i] { Update(i); });
    }
    if (scrollBar_)
        connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { Update(); });

    Resize();
    Update(0);
    return *this;
}

void CMultiListbox::Resize()
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

void CMultiListbox::Update()
{
    QListWidget* first = Column(0);
    if (updating_ || first == nullptr || !scrollBar_)
        return;
    {
        const QSignalBlocker blocker(first->verticalScrollBar());
        SetTopRow(*first, scrollBar_->value());
    }
    Update(0);
}

void CMultiListbox::Update(int column)
{
    QListWidget* source = Column(column);
    if (updating_ || source == nullptr)
        return;
    {
        const ReentryGuard guard(updating_);
        const int row = SelectedRow(*source);
        const int top = TopRow(*source);
        for (const auto& target : columns_)
            AlignColumn(*target, row, top);
    }
    RefreshScrollBar();
}

void CMultiListbox::AlignColumn(QListWidget& column, int row, int top)
{
    const QSignalBlocker blockColumn(&column);
    const QSignalBlocker blockScroll(column.verticalScrollBar());
    if (SelectedRow(column) != row && row < column.count())
        column.setCurrentRow(row);
    if (TopRow(column) != top)
        SetTopRow(column, top);
}

void CMultiListbox::Clear()
{
    {
        const ReentryGuard guard(updating_);
        for (const auto& column : columns_) {
            column->clear();
            // The view lays out later; until then its scroll bar keeps the old
            // position, which must not be taken for the new top row.
            const QSignalBlocker blockScroll(column->verticalScrollBar());
            column->verticalScrollBar()->setValue(0);
        }
        TextIndexChanged();
    }
    RefreshScrollBar();
}

int CMultiListbox::ListCount() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? first->count() : 0;
}

bool CMultiListbox::AddItem(const QStringList& cells)
{
    if (columns_.empty() || cells.size() > static_cast<qsizetype>(columns_.size()))
        return false;
    {
        const ReentryGuard guard(updating_);
        for (int i = 0; i <= LastColumn(); ++i)
            columns_[i]->addItem(i < cells.size() ? cells[i] : QString());
        TextIndexChanged();
    }
    RefreshScrollBar();
    return true;
}

bool CMultiListbox::AddItems(const QList<QStringList>& rows)
{
    if (columns_.empty())
        return false;
    const qsizetype columnCount = static_cast<qsizetype>(columns_.size());
    std::vector<QStringList> texts(columns_.size());
    for (QStringList& text : texts)
        text.reserve(rows.size());
    for (const QStringList& cells : rows) {
        if (cells.size() > columnCount)
            return false;
        for (qsizetype i = 0; i < columnCount; ++i)
            texts[i].append(i < cells.size() ? cells[i] : QString());
    }
    {
        const ReentryGuard guard(updating_);
        for (int i = 0; i <= LastColumn(); ++i)
            columns_[i]->addItems(texts[i]);
        TextIndexChanged();
    }
    RefreshScrollBar();
    return true;
}

bool CMultiListbox::RemoveItem(int row)
{
    if (row < 0 || row >= ListCount())
        return false;
    {
        const ReentryGuard guard(updating_);
        for (const auto& column : columns_)
            if (row < column->count())
                delete column->takeItem(row);
        TextIndexChanged();
    }
    RefreshScrollBar();
    return true;
}

int CMultiListbox::ListIndex() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? SelectedRow(*first) : -1;
}

void CMultiListbox::SetListIndex(int row)
{
    QListWidget* first = Column(0);
    if (first == nullptr)
        return;
    {
        const QSignalBlocker blockColumn(first);
        const QSignalBlocker blockScroll(first->verticalScrollBar());
        first->setCurrentRow(row >= 0 && row < first->count() ? row : -1);
    }
    Update(0);
}

int CMultiListbox::TopIndex() const
{
    const QListWidget* first = Column(0);
    return first != nullptr ? TopRow(*first) : 0;
}

void CMultiListbox::SetTopIndex(int row)
{
    {
        const ReentryGuard guard(updating_);
        for (const auto& column : columns_) {
            const QSignalBlocker blockScroll(column->verticalScrollBar());
            SetTopRow(*column, row);
        }
    }
    RefreshScrollBar();
}

QString CMultiListbox::List(int row, int column) const
{
    const QListWidget* list = Column(column);
    const QListWidgetItem* item = list != nullptr ? list->item(row) : nullptr;
    return item != nullptr ? item->text() : QString();
}

QString CMultiListbox::List(int row) const
{
    if (row < 0 || row >= ListCount())
        return {};
    QStringList cells;
    for (int i = 0; i <= LastColumn(); ++i)
        cells.append(List(row, i));
    return cells.join(QLatin1Char('\t'));
}

QString CMultiListbox::Text(int column) const { return List(ListIndex(), column); }

QString CMultiListbox::Text() const { return List(ListIndex()); }

int CMultiListbox::SelectByText(int column, const QString& text)
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

QListWidget* CMultiListbox::Column(int column) const
{
    return column >= 0 && column <= LastColumn() ? columns_[column].data() : nullptr;
}

int CMultiListbox::CountVisibleRows()
{
    QListWidget* first = Column(0);
    if (rowHeight_ <= 0 && first->count() > 0)
        rowHeight_ = first->sizeHintForRow(0);
    return rowHeight_ > 0 ? first->contentsRect().height() / rowHeight_ : 0;
}

void CMultiListbox::RefreshScrollBar()
{
    if (!scrollBar_ || Column(0) == nullptr)
        return;
    const int count = ListCount();
    const int visible = CountVisibleRows();
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

void CMultiListbox::TextIndexChanged()
{
    for (auto& index : textIndex_)
        index.clear();
}
