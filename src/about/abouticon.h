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

// The sizes the windows' icon comes in, smallest first: those a window
// manager draws it at, in a title bar, a task bar or a window switcher. The
// 128 and 256 px pictures are installed for the desktop's icon theme only,
// which is where docks and menus take large icons from (by the desktop
// entry's name): every size a window carries is decoded and sent to the X
// server when the window is shown, and those two would add about a tenth to
// the main window's start-up.
inline constexpr int kApplicationIconSizes[] = {32, 48, 64};

} // namespace kaldora::about
