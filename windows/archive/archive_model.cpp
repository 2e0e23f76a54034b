// SPDX-License-Identifier: MIT
#include "windows/archive/archive_model.h"

#include <algorithm>
#include <array>

namespace cf::archive {
namespace {

const std::array<QString, kArchiveFieldCount> kColumnNames = {
    QStringLiteral("Cognome"),         QStringLiteral("Nome"),
    QStringLiteral("Codice fiscale"),  QStringLiteral("Sesso"),
    QStringLiteral("Data di nascita"), QStringLiteral("Luogo"),
    QStringLiteral("Provincia")};

// Archive rows after one taken out at `row` move up; after one put in
// there, down.
void FollowRemoval(std::vector<std::uint32_t>& rows, std::uint32_t row)
{
    std::erase(rows, row);
    for (std::uint32_t& other : rows)
        other -= other > row ? 1 : 0;
}

void FollowInsertion(std::vector<std::uint32_t>& rows, std::uint32_t row)
{
    for (std::uint32_t& other : rows)
        other += other >= row ? 1 : 0;
}

}  // namespace

ArchiveModel::ArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

int ArchiveModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int ArchiveModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kArchiveFieldCount;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(archive_.field(archiveRow(index.row()), index.column()));
}

QVariant ArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < kArchiveFieldCount)
        return kColumnNames[static_cast<std::size_t>(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

const ArchiveSearch& ArchiveModel::search()
{
    if (!search_)
        search_.emplace(archive_);
    return *search_;
}

void ArchiveModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= kArchiveFieldCount)
        return;
    beginResetModel();
    sortColumn_ = column;
    descending_ = order == Qt::DescendingOrder;
    order_ = RowsInColumnOrder(search(), column, descending_);
    updateShownRows();
    endResetModel();
}

void ArchiveModel::setArchive(LoadedArchive archive)
{
    beginResetModel();
    archive_ = std::move(archive);
    search_.reset();
    if (sortColumn_ >= 0 || !words_.empty())
        search();
    if (sortColumn_ >= 0)
        order_ = RowsInColumnOrder(*search_, sortColumn_, descending_);
    updateShownRows();
    endResetModel();
}

void ArchiveModel::setSearchText(std::string_view text)
{
    std::vector<std::string> words = SearchWords(text);
    if (words == words_)
        return;
    beginResetModel();
    words_ = std::move(words);
    if (!words_.empty())
        search();
    updateShownRows();
    endResetModel();
}

void ArchiveModel::updateShownRows()
{
    shown_.clear();
    const std::size_t count = archive_.size();
    shown_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t row = order_.empty() ? static_cast<std::uint32_t>(i) : order_[i];
        if (words_.empty() || search_->Matches(row, words_))
            shown_.push_back(row);
    }
}

int ArchiveModel::rowOfArchiveRow(std::size_t archiveRow) const
{
    const auto shown = std::find(shown_.begin(), shown_.end(), archiveRow);
    return shown == shown_.end() ? -1 : static_cast<int>(shown - shown_.begin());
}

std::string ArchiveModel::takeRow(int row)
{
    const auto taken = static_cast<std::uint32_t>(archiveRow(row));
    std::string line(archive_.line(taken));
    beginRemoveRows({}, row, row);
    archive_.Remove(taken);
    if (search_)
        search_->Remove(taken);
    FollowRemoval(order_, taken);
    FollowRemoval(shown_, taken);
    endRemoveRows();
    return line;
}

int ArchiveModel::putBack(std::string_view line)
{
    beginResetModel();
    const auto row = static_cast<std::uint32_t>(archive_.Insert(line));
    if (search_)
        search_->Insert(row, line);
    if (!order_.empty()) {
        FollowInsertion(order_, row);
        order_.insert(order_.begin()
                          + static_cast<std::ptrdiff_t>(
                              PlaceInColumnOrder(*search_, order_, row, sortColumn_, descending_)),
                      row);
    }
    updateShownRows();
    endResetModel();
    return rowOfArchiveRow(row);
}

}  // namespace cf::archive
