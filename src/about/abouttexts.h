#pragma once

#include <string>
#include <string_view>

namespace kaldora::about {

// The fixed texts of the about dialog. The dialog speaks English, unlike the
// rest of the program.
inline constexpr std::string_view kProgramName = "KALDORA";
inline constexpr std::string_view kCaptionPrefix = "About ";
inline constexpr std::string_view kDescription =
    "App Description  IZRACUNAVA MESECNI RACUN ZA STRUJU!!!";
inline constexpr std::string_view kDisclaimer = "Warning: ...";

// "Version 2.10.3": each number in decimal without padding.
std::string versionLabel(int major, int minor, int revision);

// The label for the version this program was built as.
std::string programVersionLabel();

} // namespace kaldora::about
