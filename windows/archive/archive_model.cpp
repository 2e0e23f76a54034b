// SPDX-License-Identifier: MIT
#include "windows/archive/archive_model.h"

#include <array>

namespace cf::archive {
namespace {

const std::array<QString, kArchiveFieldCount> kColumnNames = {
    QStringLiteral("Cognome"),         QStringLiteral("Nome"),
    QStringLiteral("Codice fiscale"),  QStringLiteral("Sesso"),
    QStringLiteral("Data di nascita"), QStringLiteral("Luogo"),
    QStringLiteral("Provincia")};

}  // namespace

ArchiveModel::ArchiveModel(QObject* parent) : QAbstractTableModel(parent) {}

int ArchiveModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(archive_.size());
}

int ArchiveModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kArchiveFieldCount;
}

QVariant ArchiveModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(archive_.field(static_cast<std::size_t>(index.row()), index.column()));
}

QVariant ArchiveModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < kArchiveFieldCount)
        return kColumnNames[static_cast<std::size_t>(section)];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ArchiveModel::setArchive(LoadedArchive archive)
{
    beginResetModel();
    archive_ = std::move(archive);
    endResetModel();
}

std::string ArchiveModel::takeRow(int row)
{
    std::string line(archive_.line(static_cast<std::size_t>(row)));
    beginRemoveRows({}, row, row);
    archive_.Remove(static_cast<std::size_t>(row));
    endRemoveRows();
    return line;
}

int ArchiveModel::putBack(std::string_view line)
{
    const int row = static_cast<int>(archive_.PlaceOf(line));
    beginInsertRows({}, row, row);
    archive_.Insert(line);
    endInsertRows();
    return row;
}

}  // namespace cf::archive
