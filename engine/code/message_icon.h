// SPDX-License-Identifier: MIT
#pragma once
// The icon of a message: the engine and the command line give one with each
// message, and the message boxes show it.

namespace cf {

enum class MessageIcon { Critical, Exclamation, Information, Question };

}  // namespace cf
