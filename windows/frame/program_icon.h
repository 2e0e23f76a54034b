// SPDX-License-Identifier: MIT
#pragma once
// The program's icon: a tax-code card marked "CF", drawn at several sizes.

#include <QIcon>
#include <QPixmap>

namespace cf::frame {

// Every drawn size (32 to 256 pixels), for window icons.
QIcon ProgramIcon();

// The picture of `size` pixels, one of 32, 48, 64, 128 and 256.
QPixmap ProgramIconPicture(int size);

}  // namespace cf::frame
