#include "batch/batchrun.h"
#include "batch/checkedprices.h"
#include "batch/commandline.h"
#include "batch/consolestop.h"
#include "batch/inputfile.h"
#include "batch/outputfile.h"
#include "billing/numbertext.h"
#include "platform/systemlocale.h"
#include "price_list/pricelistfile.h"
#include "price_list/priceliststore.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <csignal>
#include <cwchar>
#include <exception>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

using namespace kaldora::batch;

// The end of a run that only prints a text: --help, --version.
int printed(std::string_view text)
{
    OutputFile out = OutputFile::standardOutput();
    if (!out.write(text.data(), text.size())) {
        std::cerr << kProgramName << ": " << out.error() << '\n';
        return kExitNothingBilled;
    }
    return kExitAllBilled;
}

int usageError(std::string_view message)
{
    std::cerr << kProgramName << ": " << message << "\nPomoc: " << kProgramName << " --help\n";
    return kExitNothingBilled;
}

// Where the six prices come from: --cene, the price-list file named by
// --cenovnik, or else the window program's own stored price list (created
// with the default prices on the first run, as the window would).
std::optional<CheckedPrices> choosePrices(const CommandLine& command,
                                          const kaldora::billing::NumberText& numbers,
                                          std::string& error)
{
    if (command.prices) {
        return CheckedPrices::fromList(*command.prices, numbers, error);
    }
    using kaldora::price_list::PriceListStore;
    const bool named = command.priceListPath.has_value();
    const QString path = named ? QString::fromStdString(*command.priceListPath)
                               : kaldora::price_list::PriceListFile::defaultPath();
    const auto stored = PriceListStore::readFirstRecord(
        path, numbers.decimalSeparator(),
        named ? PriceListStore::MissingFile::Report : PriceListStore::MissingFile::Create);
    if (!stored.problem.isEmpty()) {
        error = stored.problem.toStdString();
        return std::nullopt;
    }
    CheckedPrices::Texts texts;
    for (std::size_t row = 0; row < texts.size(); ++row) {
        texts[row] = stored.texts[row].toStdString();
    }
    auto prices = CheckedPrices::fromTexts(std::move(texts), numbers, error);
    if (!prices) {
        error = path.toStdString() + ": " + error;
    }
    return prices;
}

#ifdef _WIN32
// Qt looks for its plugins where Qt was built and, once a program has an
// application object, in the program's own folder. This program has none,
// so the folder it was installed or unpacked into (the SQLite driver is in
// its sqldrivers\ folder) is put first by hand, wherever it is started
// from. When the path cannot be had, Qt looks where it always does, and a
// missing driver is reported when the price list is opened.
void findPluginsInProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    if (length == 0) {
        return;
    }
    const QString program = QString::fromWCharArray(path.data(), static_cast<qsizetype>(length));
    QCoreApplication::addLibraryPath(program.left(program.lastIndexOf(u'\\')));
}
#endif

#ifdef _WIN32
// The arguments as the user typed them, in UTF-8. The narrow argv has them
// in the system's code page, which cannot hold every name ("Đorđe Миле" in a
// Western code page), and the manifest's UTF-8 code page is not honoured by
// every Windows 10. The wide command line always holds them whole. Nullopt
// when it cannot be read.
std::optional<std::vector<std::string>> wideArguments()
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        const int length = static_cast<int>(std::wcslen(wide[i]));
        std::string arg(static_cast<std::size_t>(length) * 3, '\0');
        const int written = WideCharToMultiByte(CP_UTF8, 0, wide[i], length, arg.data(),
                                                static_cast<int>(arg.size()), nullptr, nullptr);
        if (written == 0 && length > 0) {
            LocalFree(wide);
            return std::nullopt;
        }
        arg.resize(static_cast<std::size_t>(written));
        args.push_back(std::move(arg));
    }
    // The memory is the system's to take back; nothing is lost if it fails.
    static_cast<void>(LocalFree(wide));
    return args;
}

// Messages and bills are UTF-8 and name files in any script. A console shows
// them right only in its UTF-8 code page; the user's own code page comes back
// when the program ends. Pipes and files take the bytes as they are.
class ConsoleCodePage {
public:
    ConsoleCodePage()
    {
        DWORD mode = 0;
        const bool console = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0 ||
                             GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
        m_previous = console ? GetConsoleOutputCP() : 0;
        if (m_previous != 0 && m_previous != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) == 0) {
            m_previous = 0;
        }
    }
    ~ConsoleCodePage()
    {
        if (m_previous != 0 && m_previous != CP_UTF8) {
            // The console stays in UTF-8 should this fail; nothing is lost.
            static_cast<void>(SetConsoleOutputCP(m_previous));
        }
    }
    ConsoleCodePage(const ConsoleCodePage&) = delete;
    ConsoleCodePage& operator=(const ConsoleCodePage&) = delete;

private:
    UINT m_previous = 0;
};
#endif

int run(int argc, char** argv)
{
#ifdef _WIN32
    const auto wide = wideArguments();
    const std::vector<std::string> owned =
        wide ? *wide : std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    const std::vector<std::string_view> args(owned.begin(), owned.end());
#else
    const std::vector<std::string_view> args(argv + 1, argv + argc);
#endif
    std::string error;
    const auto command = CommandLine::parse(args, error);
    if (!command) {
        return usageError(error);
    }
    if (command->help) {
        return printed(CommandLine::helpText());
    }
    if (command->version) {
        return printed(std::string(kProgramName) + " " + KALDORA_VERSION + "\n");
    }

#ifdef _WIN32
    findPluginsInProgramFolder();
#endif
    const kaldora::billing::NumberText numbers(kaldora::platform::systemDecimalSeparator());
    const auto prices = choosePrices(*command, numbers, error);
    if (!prices) {
        return usageError(error);
    }
    const auto input = InputFile::open(command->inputPath, error);
    if (!input) {
        std::cerr << kProgramName << ": " << error << '\n';
        return kExitNothingBilled;
    }
    OutputFile out = OutputFile::standardOutput();
    BatchRun run(*prices, numbers, BatchRun::defaultThreads());
    run.setStopFlag(ConsoleStop::install());
    const int code = run.run(*input, out, std::cerr);
    ConsoleStop::runFinished();
    return code;
}

} // namespace

int main(int argc, char** argv)
{
#ifndef _WIN32
    // Output beyond a file-size limit fails like a full disk, and output to
    // a pipe whose reader has gone fails as closed: both are reported with
    // their cause. The signals' default would kill the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef _WIN32
    const ConsoleCodePage utf8Console;
#endif
    // Running out of memory ends here, with a message, not an abort.
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << kProgramName << ": nema dovoljno memorije\n";
    } catch (const std::exception& e) {
        std::cerr << kProgramName << ": neocekivana greska: " << e.what() << '\n';
    }
    return kExitNothingBilled;
}
