#include "batchrun.h"
#include "commandline.h"
#include "inputtext.h"
#include "numbertext.h"
#include "pricetexts.h"
#include "systemlocale.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kaldora::batch;

int usageError(std::string_view message)
{
    std::cerr << kProgramName << ": " << message << "\nPomoc: " << kProgramName << " --help\n";
    return kExitNothingBilled;
}

// Where the six prices come from. The command line is the only source so far.
std::optional<PriceTexts> choosePrices(const CommandLine& command,
                                       const kaldora::billing::NumberText& numbers,
                                       std::string& error)
{
    if (!command.prices) {
        std::string example = "3,10;1,55;4,65;2,33;9,30;4,65";
        std::replace(example.begin(), example.end(), ',', numbers.decimalSeparator());
        error = "nedostaje opcija --cene sa sest cena, npr. --cene \"" + example + "\"";
        return std::nullopt;
    }
    return PriceTexts::fromList(*command.prices, numbers, error);
}

int run(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string error;
    const auto command = CommandLine::parse(args, error);
    if (!command) {
        return usageError(error);
    }
    if (command->help) {
        std::cout << CommandLine::helpText() << std::flush;
        return std::cout ? kExitAllBilled : kExitNothingBilled;
    }

    const kaldora::billing::NumberText numbers(kaldora::platform::systemDecimalSeparator());
    const auto prices = choosePrices(*command, numbers, error);
    if (!prices) {
        return usageError(error);
    }
    auto input = InputText::read(command->inputPath, error);
    if (!input) {
        std::cerr << kProgramName << ": " << error << '\n';
        return kExitNothingBilled;
    }
    return BatchRun(*prices, numbers, BatchRun::defaultThreads())
        .run(std::move(*input), std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    // An input too large for memory ends here, with a message, not an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << kProgramName << ": " << e.what() << '\n';
        return kExitNothingBilled;
    }
}
