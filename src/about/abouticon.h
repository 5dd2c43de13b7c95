#pragma once

#include <QIcon>
#include <QImage>

namespace kaldora::about {

// The program's icon, compiled in from the icon files that are installed for
// the desktop (dist/icons), so the windows show the same picture as the
// menu. Every window of the program wears applicationIcon(); the about
// dialog shows aboutIcon(), its 32 x 32 size: a 16-colour picture of opaque
// and fully transparent pixels. Both are empty only if the resource is
// missing from the build.
QImage aboutIcon();
QIcon applicationIcon();

inline constexpr int kAboutIconSize = 32;

// The sizes the icon comes in as pictures, smallest first.
inline constexpr int kApplicationIconSizes[] = {32, 48, 64, 128, 256};

} // namespace kaldora::about
