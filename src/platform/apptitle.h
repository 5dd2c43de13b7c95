#pragma once

#include <string_view>

namespace kaldora::platform {

// The application title, fixed when the program is built: the caption of
// every message box that names none of its own, and the end of the about
// dialog's caption. It is a plain default; the program's name KALDORA is
// written as it stands where the windows show it.
inline constexpr std::string_view kApplicationTitle = KALDORA_APP_TITLE;

} // namespace kaldora::platform
