#include "app/displaycheck.h"

#include <cstdlib>
#include <string_view>

namespace kaldora::app {

#ifndef _WIN32
namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

std::string_view variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

} // namespace
#endif

std::optional<std::string> missingDisplay()
{
#ifdef _WIN32
    // Windows always has its desktop; DISPLAY means nothing there.
    return std::nullopt;
#else
    // QT_QPA_PLATFORM may list several platforms ("xcb;offscreen"); only the
    // first one matters for the question whether Qt will try a display.
    std::string_view platform = variable("QT_QPA_PLATFORM");
    platform = platform.substr(0, platform.find(';'));
    platform = platform.substr(0, platform.find(':'));

    const bool x11 = isSet("DISPLAY");
    const bool wayland = isSet("WAYLAND_DISPLAY");
    if (platform.empty()) {
        if (x11 || wayland) {
            return std::nullopt;
        }
    } else if (platform == "xcb") {
        if (x11) {
            return std::nullopt;
        }
    } else if (platform == "wayland" || platform.starts_with("wayland-")) {
        if (wayland) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return std::string("prozor ne moze da se otvori: nema ekrana, promenljiva DISPLAY nije "
                       "postavljena (na racunaru bez ekrana pokrenite program sa xvfb-run)");
#endif
}

} // namespace kaldora::app
