#pragma once

#include <optional>
#include <string>

namespace kaldora::app {

// Why the window system cannot open a window here, before Qt is asked to:
// Qt's X11 and Wayland back ends end the process with an abort when they find
// no display. Returns nothing where a display is set or where another Qt
// platform (offscreen, vnc, ...) was chosen; whether a set display can really
// be reached only Qt can tell, and StartupGuard covers that case.
std::optional<std::string> missingDisplay();

} // namespace kaldora::app
