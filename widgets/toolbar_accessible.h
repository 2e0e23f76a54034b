// SPDX-License-Identifier: MIT
#pragma once
// What screen readers see of the toolbar: its surface is a tool bar whose
// children are the buttons, each a push button named by its caption and
// described by its tooltip, disabled or focused as the toolbar shows it, with
// a press action that runs its command.

class QWidget;

namespace cf::widgets {

class Toolbar;

void MakeToolbarAccessible(Toolbar& toolbar, QWidget& surface);

}  // namespace cf::widgets
