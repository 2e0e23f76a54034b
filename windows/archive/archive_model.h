// SPDX-License-Identifier: MIT
#pragma once
// The archived persons as a table model over the compact loaded archive:
// seven columns in the file's field order, one row a person shown. The rows
// shown are those the search words find, in the archive's order or in the
// order of a column the clerk chose; the archive itself keeps its order.
// Cells are cut from their line only when a view asks for them, so a
// million persons cost little more than the file itself.

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/storage/archive_search.h"
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
    // The columns' names ("Cognome", "Nome"...).
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Orders the rows shown by a column; the archive keeps its order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Replaces the whole archive (a load); the search and the order stay.
    void setArchive(LoadedArchive archive);
    LoadedArchive& archive() { return archive_; }
    const LoadedArchive& archive() const { return archive_; }
    // All the persons, shown or not.
    int personCount() const { return static_cast<int>(archive_.size()); }

    // Shows only the rows that hold every word of `text` (see SearchWords);
    // an empty text shows them all.
    void setSearchText(std::string_view text);

    Person person(int row) const { return archive_.person(archiveRow(row)); }
    // Takes row `row` out and gives its line as the file holds it, ready to
    // be put back.
    std::string takeRow(int row);
    // Whether the search lets `line` (as the file holds it) show.
    bool shows(std::string_view line) const { return ArchiveSearch::LineMatches(line, words_); }
    // Puts a line taken out back at its place in the archive; gives its row,
    // -1 when the search hides it.
    int putBack(std::string_view line);

    // The archive's row shown as row `row`, and the other way (-1 when the
    // search hides it).
    std::size_t archiveRow(int row) const { return shown_[static_cast<std::size_t>(row)]; }
    int rowOfArchiveRow(std::size_t archiveRow) const;

private:
    const ArchiveSearch& search();
    // The rows shown, from the order and the search words.
    void updateShownRows();

    LoadedArchive archive_;
    // Folded when first searched or sorted, then kept in step.
    std::optional<ArchiveSearch> search_;
    std::vector<std::string> words_;
    int sortColumn_ = -1;
    bool descending_ = false;
    // Archive rows in the chosen column's order (empty: the archive's).
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> shown_;
};

}  // namespace cf::archive
