// The program's own icon: a dungeon plan on parchment laid on a torch-lit
// stone tile, the same scene as the splash picture reduced to an emblem.
// Used for the window, the launcher and the icon theme.
#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace halvorn {

// The sizes the icon theme carries, in pixels.
inline constexpr std::array<int, 7> ProgramIconSizes{16, 24, 32, 48, 64, 128, 256};

// The icon as a size x size image with a transparent background around the
// rounded tile; a null image when size is not positive. Below 32 pixels the
// picture is simplified so that its lines stay a whole pixel wide.
QImage ProgramIcon(int size);

// The icon at the theme sizes up to 128 pixels, for the window and the task
// bar. It is painted at every start, and the 256-pixel picture alone would
// cost more than all the others together; desktops that want one that large
// take the launcher's icon from the theme.
QIcon ProgramWindowIcon();

inline constexpr int ProgramWindowIconLargest = 128;

} // namespace halvorn
