// SPDX-License-Identifier: MIT
#include "windows/frame/program_icon.h"

#include <array>

// The resources of a static library are registered by hand, from the global
// namespace.
static void RegisterFrameResources()
{
    Q_INIT_RESOURCE(frame);
}

namespace cf::frame {
namespace {

constexpr std::array kSizes{32, 48, 64, 128, 256};

void EnsureResources()
{
    [[maybe_unused]] static const bool registered = (RegisterFrameResources(), true);
}

}  // namespace

QPixmap ProgramIconPicture(int size)
{
    EnsureResources();
    return QPixmap(QStringLiteral(":/frame/icons/codicefiscale-%1.png").arg(size));
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : kSizes)
        icon.addPixmap(ProgramIconPicture(size));
    return icon;
}

}  // namespace cf::frame
