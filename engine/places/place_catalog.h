// SPDX-License-Identifier: MIT
#pragma once
// The places with their indexes: the rows of the place table found by name
// and by cadastral code, and the periods of each code, all built once so
// that no lookup scans the table.

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "engine/places/place_periods.h"
#include "engine/places/place_table.h"

namespace cf {

class PlaceCatalog {
public:
    // Indexes the table and the periods; both texts must outlive the
    // catalog.
    PlaceCatalog(std::string_view tableText, std::string_view periodsText);
    ~PlaceCatalog();
    PlaceCatalog(const PlaceCatalog&) = delete;
    PlaceCatalog& operator=(const PlaceCatalog&) = delete;

    // The catalog of the embedded table and periods, built on first use.
    static const PlaceCatalog& Embedded();

    std::span<const PlaceRow> Rows() const { return rows_; }
    const PlaceRow& Row(int index) const { return rows_[static_cast<std::size_t>(index)]; }

    // The rows whose folded name is alike `foldedName` (see FoldPlaceName):
    // the same key (PlaceNameKey), in table order.
    std::span<const int> RowsNamed(std::string_view foldedName) const;
    // A row's name folded as FoldPlaceName folds it.
    std::string_view FoldedName(int row) const { return foldedNames_[static_cast<std::size_t>(row)]; }
    // First row of a typed name, folded first: the first whose folded name
    // is the typed one, else the first alike; -1 when none.
    int FirstRowNamed(std::string_view typedName) const;
    // First row with the cadastral code; -1 when none.
    int FirstRowWithCode(std::string_view code) const;

    // The periods of a code, oldest first. None for a place known without
    // dates: such a code is in use on every day.
    std::span<const PlacePeriod> PeriodsOf(std::string_view code) const;
    // The code's period holding the day (yyyymmdd); nullptr when none.
    const PlacePeriod* PeriodOn(std::string_view code, int day) const;
    bool InUseOn(std::string_view code, int day) const;
    // Every period, ordered by code, then first day.
    std::span<const PlacePeriod> Periods() const { return periods_; }

private:
    struct CodeEntry;
    struct NameIndex;
    const CodeEntry* EntryOf(std::string_view code) const;

    std::vector<PlaceRow> rows_;
    std::vector<std::string_view> foldedNames_;  // of each row
    std::vector<PlacePeriod> periods_;
    std::vector<CodeEntry> codes_;
    std::unique_ptr<NameIndex> names_;
};

}  // namespace cf
