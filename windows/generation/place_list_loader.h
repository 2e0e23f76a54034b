// SPDX-License-Identifier: MIT
#pragma once
// Fills the place list of the generation window from "varnel.cod" in the
// work directory, with progress on the splash window.

#include <functional>

namespace cf::widgets {
class MultiColumnList;
}

namespace cf::generation {

inline constexpr int kProgressSteps = 20;

struct PlaceListHooks {
    // Ends the program when the place file is missing; the default exits the
    // process with status 1. A test may record the call instead: loading then
    // returns with an empty list.
    std::function<void()> endProgram;
    // Told the value of each progress step drawn (5, 10, ... 100).
    std::function<void(int)> progressDrawn;
};

enum class PlaceListLoad { Loaded, FileMissing, Failed };

// Shows the splash window (topmost) and the hourglass, and adds every row of
// the file to `list` (three columns: name, cadastral code, province) in file
// order, in 20 chunks with one progress step drawn after each: chunk k ends
// after row ceil(k * rows / 20), so the bar reaches 100 exactly with the last
// row whatever the row count. No row is selected afterwards. A missing file
// gives "Non esiste l'archivio dati!" and ends the program; a file that
// cannot be read gives the loading's error message and leaves the list as it
// is. The splash window closes and the pointer is restored on every path.
PlaceListLoad LoadPlaceList(widgets::MultiColumnList& list, const PlaceListHooks& hooks = {});

}  // namespace cf::generation
