// SPDX-License-Identifier: MIT
#pragma once
// A window of this layer runs either as a top-level window or as the content
// of a QMdiSubWindow of the frame; hiding, showing and closing it act on
// whichever of the two holds it.

class QWidget;

namespace cf::widgets {

// The QMdiSubWindow holding the window, or the window itself.
QWidget* HostWindow(QWidget* window);

// Shows the host and brings it to the front.
void ShowHostWindow(QWidget* window);

}  // namespace cf::widgets
