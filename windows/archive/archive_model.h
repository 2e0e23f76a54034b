// SPDX-License-Identifier: MIT
#pragma once
// The archived persons as a table model over the compact loaded archive:
// one row a line of the file, in display order, seven columns in the
// file's field order. Cells are cut from their line only when a view asks
// for them, so a million persons cost little more than the file itself.

#include <QAbstractTableModel>

#include <string>
#include <string_view>

#include "engine/storage/loaded_archive.h"

namespace cf::archive {

class ArchiveModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The columns, in the file's field order.
    enum Column { kSurname, kFirstName, kCode, kSex, kBirthDate, kPlace, kProvince };

    explicit ArchiveModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The columns' names ("Cognome", "Nome"...), which screen readers read
    // even where the window shows captions of its own instead.
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces the whole archive (a load).
    void setArchive(LoadedArchive archive);
    LoadedArchive& archive() { return archive_; }
    const LoadedArchive& archive() const { return archive_; }

    Person person(int row) const { return archive_.person(static_cast<std::size_t>(row)); }
    // Takes row `row` out and gives its line as the file holds it, ready to
    // be put back.
    std::string takeRow(int row);
    // Puts a line taken out back at its place in the order; gives its row.
    int putBack(std::string_view line);

private:
    LoadedArchive archive_;
};

}  // namespace cf::archive
