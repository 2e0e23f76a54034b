// SPDX-License-Identifier: MIT
#pragma once
// What screen readers see of the status bar: a status bar whose children are
// its panes, each a static text named by the pane's text (without the blanks
// that make room for its icon).

namespace cf::widgets {

// Lets screen readers ask StatusPanes widgets for their panes; once is enough.
void InstallStatusPanesAccessibility();

}  // namespace cf::widgets
