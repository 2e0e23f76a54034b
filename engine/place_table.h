#pragma once
// The table of places (municipalities and foreign states) with their
// cadastral codes and provinces, and its lookups. Every lookup takes the first
// matching row in table order.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cf {

inline constexpr char kPlaceFileName[] = "varnel.cod";

struct PlaceRow {
    std::string_view name;
    std::string_view code;
    std::string_view province;
};

enum class PlaceColumn { Name = 0, Code = 1, Province = 2 };

// Reads table text: lines NAME,CODE,PROV ended by CR LF (a CR or LF alone
// also ends a line); reading stops at the first NUL byte. Blank lines are
// skipped. The rows point into the given text.
std::vector<PlaceRow> ParsePlaceTable(std::string_view text);

// The embedded table, parsed once.
std::span<const PlaceRow> EmbeddedPlaces();

// Index of the first row whose column equals the text, letter case ignored;
// -1 when none.
int FindPlaceRow(std::span<const PlaceRow> rows, PlaceColumn column, std::string_view text);

// Code of the first embedded row whose name equals the text exactly
// (case-sensitive, untrimmed); empty when none.
std::string_view PlaceCodeForName(std::string_view exactName);

// Name of the first embedded row with this cadastral code; empty when none.
std::string_view PlaceNameForCode(std::string_view code);

// Scans a table file line by line for a name, compared exactly; the code
// of the first equal line, or empty when none matches or the file cannot
// be read.
std::string PlaceCodeFromFile(const std::string& path, std::string_view placeName);

}  // namespace cf
