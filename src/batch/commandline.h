#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kaldora::batch {

inline constexpr std::string_view kProgramName = "kaldora-obracun";

// What the user asked for on the command line. Parsing only sorts the
// arguments; where the prices come from when --cene is absent is the
// caller's decision.
struct CommandLine {
    bool help = false;
    bool version = false;
    // The text after --cene, untouched.
    std::optional<std::string> prices;
    // The price-list file after --cenovnik; without it (and without --cene)
    // the stored price list of the window program is used.
    std::optional<std::string> priceListPath;
    // The input file; empty or "-" means standard input.
    std::string inputPath;

    // The arguments after the program name. An unknown option, a missing
    // option value, a repeated option or a second file is an error: nullopt
    // and a message.
    static std::optional<CommandLine> parse(std::span<const std::string_view> args,
                                            std::string& error);

    // The text of --help.
    static std::string_view helpText();
};

} // namespace kaldora::batch
