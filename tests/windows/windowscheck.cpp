// Checks the window-free parts of the program against the system's own
// functions: on Windows, or under Wine, whose registry checks no access
// rights (the rights the lookup asks for are checked against a standard
// user's in tests/about):
//   windows_check values            GetKeyValue against the registry values
//                                   that scripts/test-windows stores under
//                                   HKLM\SOFTWARE\KaldoraCheck
//   windows_check files <tool.exe>  the ordinary-file test and the program
//                                   start, with the stand-in tool
//   windows_check billing           one bill with decimal-comma texts
//   windows_check sysinfo started|message [path...]
//                                   StartSysInfo against the system's registry;
//                                   the paths are the starts expected, in order
#include "checks.h"

#include "about/systeminformation.h"
#include "billing/memorysheet.h"
#include "billing/obracun.h"
#include "platform/apptitle.h"
#include "platform/windowsfiletest.h"
#include "platform/windowsprogramstarter.h"
#include "platform/windowsregistry.h"
#include "support/recordingmessagebox.h"
#include "support/tempfolder.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace kaldora;
using kaldora::windows_check::Checks;

namespace {

// The system's registry, counting the keys it hands out and takes back.
class CountingRegistry final : public platform::Registry {
public:
    platform::RegistryStatus openKey(platform::RegistryKey parent, const std::string& path,
                                     std::uint32_t options, std::uint32_t access,
                                     platform::RegistryKey& result) override
    {
        const platform::RegistryStatus status =
            m_real.openKey(parent, path, options, access, result);
        m_opened += status == platform::kErrorSuccess ? 1 : 0;
        return status;
    }
    platform::RegistryStatus queryValue(platform::RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::span<std::byte> data,
                                        std::uint32_t& size) override
    {
        return m_real.queryValue(key, name, type, data, size);
    }
    platform::RegistryStatus closeKey(platform::RegistryKey key) override
    {
        const platform::RegistryStatus status = m_real.closeKey(key);
        m_closed += status == platform::kErrorSuccess ? 1 : 0;
        return status;
    }

    int opened() const { return m_opened; }
    int closed() const { return m_closed; }

private:
    platform::WindowsRegistry m_real;
    int m_opened = 0;
    int m_closed = 0;
};

// The real program start, remembering what it was asked to start.
class RecordingStarter final : public platform::ProgramStarter {
public:
    std::error_code start(const std::string& path) override
    {
        m_attempts.push_back(path);
        return m_real.start(path);
    }
    const std::vector<std::string>& attempts() const { return m_attempts; }

private:
    platform::WindowsProgramStarter m_real;
    std::vector<std::string> m_attempts;
};

std::string markerOf(const std::string& program)
{
    return program + ".started";
}

bool waitForFile(const std::string& path, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int checkValues()
{
    Checks checks;
    const std::string key = "SOFTWARE\\KaldoraCheck";
    CountingRegistry registry;
    platform::WindowsProgramStarter programs;
    platform::WindowsFileTest files;
    tests::RecordingMessageBox messages;
    about::SystemInformation sysInfo({registry, programs, files}, messages);

    checks.check(reinterpret_cast<HKEY>(platform::kHKeyLocalMachine) == HKEY_LOCAL_MACHINE,
                 "the 32-bit root value names HKEY_LOCAL_MACHINE");

    // reg add and regedit always store text with a terminating zero; these
    // values are stored byte for byte here.
    HKEY writable = nullptr;
    if (checks.equal(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0,
                                   KEY_SET_VALUE | KEY_QUERY_VALUE, &writable),
                     LSTATUS(ERROR_SUCCESS), "open the check key for writing")) {
        const auto store = [&](const char* name, std::string_view bytes) {
            checks.equal(RegSetValueExA(writable, name, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size())),
                         LSTATUS(ERROR_SUCCESS), std::string("store ") + name);
        };
        store("NoZero", "ABC");
        store("TwoZeros", std::string_view("ABC\0\0", 5));
        store("EmptyText", "");
        // The registry hands them back in exactly these sizes. Wine adds a
        // terminating zero to every text it stores, so there a text without
        // one cannot be made.
        for (const auto& [name, size] :
             {std::pair{"NoZero", 3}, std::pair{"TwoZeros", 5}, std::pair{"EmptyText", 0}}) {
            char data[16];
            DWORD got = sizeof data;
            checks.equal(RegQueryValueExA(writable, name, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(data), &got),
                         LSTATUS(ERROR_SUCCESS), std::string("query ") + name);
            if (std::string_view(name) == "NoZero" && got == 4 && data[3] == '\0') {
                checks.skip("text without a terminating zero: this registry adds one");
            } else {
                checks.equal(got, DWORD(size), std::string("stored size of ") + name);
            }
        }
        checks.equal(RegCloseKey(writable), LSTATUS(ERROR_SUCCESS), "close the check key");
    }

    struct Case {
        const char* name;
        int result;
        std::string text;
    };
    // Text and other types leave the entry text alone or replace it; a
    // number's digits are put after it.
    const std::string entry = "entry";
    const Case cases[] = {
        {"Text", about::kTrue, "C:\\Tools\\msinfo32.exe"},
        {"Exact1024", about::kTrue, std::string(1023, 'a')},
        {"Over1024", about::kFalse, ""},
        {"Bin1024", about::kTrue, entry},
        {"Bin1025", about::kFalse, ""},
        {"Expand", about::kTrue, entry},
        {"Dword16", about::kTrue, "&hentry0010"},
        {"Dword01020304", about::kTrue, "&hentry1234"},
        {"NoZero", about::kTrue, "ABC"},
        {"TwoZeros", about::kTrue, std::string("ABC\0", 4)},
        {"Missing", about::kFalse, ""},
    };
    for (const Case& c : cases) {
        std::string text = entry;
        const int result = sysInfo.GetKeyValue(about::kLocalMachineRoot, key, c.name, text);
        checks.equal(result, c.result, std::string("result of ") + c.name);
        checks.check(text == c.text, std::string("text of ") + c.name + ": [" + text.substr(0, 40) +
                                         "] size " + std::to_string(text.size()));
    }

    std::string text = entry;
    checks.equal(sysInfo.GetKeyValue(about::kLocalMachineRoot, key + "\\Gone", "Text", text),
                 about::kFalse, "missing key");
    checks.equal(text, std::string(), "missing key empties the text");

    for (const char* empty : {"EmptyBinary", "EmptyText"}) {
        bool thrown = false;
        try {
            text = entry;
            sysInfo.GetKeyValue(about::kLocalMachineRoot, key, empty, text);
        } catch (const std::out_of_range&) {
            thrown = true;
        }
        checks.check(thrown, std::string("a value without data fails: ") + empty);
    }

    checks.check(registry.opened() > 0, "keys were opened");
    checks.equal(registry.closed(), registry.opened(), "every opened key was closed");
    checks.check(messages.shown().empty(), "GetKeyValue shows no message");
    return checks.finish("values");
}

int checkFiles(const std::string& tool)
{
    Checks checks;
    const tests::TempFolder temp("kaldora-files");
    const std::string folder = temp.path().string();
    const auto makeFile = [&](const std::string& name, const char* content) {
        return temp.write(name, content);
    };
    const std::string plain = makeFile("MSINFO32.EXE", "x");
    const std::string sub = folder + "\\sub";
    checks.check(CreateDirectoryA(sub.c_str(), nullptr) != 0, "create " + sub);

    platform::WindowsFileTest files;
    checks.check(files.isOrdinaryFile(plain), "a plain file is ordinary");
    checks.check(!files.isOrdinaryFile(sub), "a folder is not");
    checks.check(!files.isOrdinaryFile(folder + "\\gone.exe"), "a missing file is not");
    checks.check(!files.isOrdinaryFile(""), "an empty path is not");

    for (const auto& [name, attribute] : {std::pair{"hidden.exe", FILE_ATTRIBUTE_HIDDEN},
                                          std::pair{"system.exe", FILE_ATTRIBUTE_SYSTEM}}) {
        const std::string path = makeFile(name, "x");
        const bool set = SetFileAttributesA(path.c_str(), attribute) != 0 &&
                         (GetFileAttributesA(path.c_str()) & attribute) != 0;
        if (set) {
            checks.check(!files.isOrdinaryFile(path), std::string("not ordinary: ") + name);
        } else {
            checks.skip(std::string("this file system keeps no attribute for ") + name);
        }
    }

    platform::WindowsProgramStarter programs;
    const std::string marker = markerOf(tool);
    DeleteFileA(marker.c_str()); // left over from an earlier run, or not there at all
    const std::error_code started = programs.start(tool);
    checks.check(!started, "start " + tool + ": " + started.message());
    if (checks.check(waitForFile(marker, std::chrono::seconds(20)), "the started tool ran")) {
        const std::string note = readFile(marker);
        // Its command line is its quoted path alone, and it opens normally.
        checks.equal(note, "\"" + tool + "\"\n" + std::to_string(SW_SHOWNORMAL) + "\n",
                     "what the tool was given");
    }

    const std::string notAProgram = makeFile("text.exe", "not a program");
    struct Failing {
        std::string path;
        const char* what;
    };
    for (const Failing& f :
         {Failing{folder + "\\gone.exe", "a missing file"}, Failing{sub, "a folder"},
          Failing{notAProgram, "a text file"}, Failing{"", "an empty path"},
          Failing{tool + std::string(1, '\0') + "x", "a path with a zero"}}) {
        const std::error_code error = programs.start(f.path);
        checks.check(static_cast<bool>(error), std::string("start fails for ") + f.what);
        std::printf("  start of %s: %d %s\n", f.what, error.value(), error.message().c_str());
    }
    return checks.finish("files");
}

int checkBilling()
{
    Checks checks;
    billing::NumberText numbers(',');
    const auto parsed = numbers.parse("1234,5");
    checks.check(parsed.has_value() && *parsed == 1234.5, "\"1234,5\" reads as 1234.5");
    checks.check(!numbers.parse("1.234").has_value(), "\"1.234\" is not a number");
    checks.equal(numbers.general(1242.75 * 0.18).str(), std::string("223,695"), "general text");
    checks.equal(numbers.fixed2(1242.75 * 0.18).str(), std::string("223,70"), "two decimals");

    tests::RecordingMessageBox notice;
    billing::MemorySheet sheet;
    billing::Obracun obracun(sheet, numbers, notice);
    using std::chrono::sys_days;
    using std::chrono::year;
    sheet.setDate(billing::DateField::DTPicker1, sys_days{year{2024} / 3 / 31});
    sheet.setDate(billing::DateField::DTPicker2, sys_days{year{2024} / 3 / 1});
    sheet.setText(billing::Field::Text1, "2500,0");
    sheet.setText(billing::Field::Text2, "1500");
    sheet.setText(billing::Field::Text4, "1000");
    sheet.setText(billing::Field::Text5, "1000,0");
    const char* prices[] = {"3,10", "1,55", "4,65", "2,33", "9,30", "4,65"};
    for (int row = 0; row < 6; ++row) {
        sheet.setText(billing::kPriceFields[row], prices[row]);
    }
    obracun.run();
    checks.equal(notice.shown().size(), std::size_t(0), "no input error");
    checks.equal(sheet.text(billing::Field::Text32), std::string("30"), "days");
    checks.equal(sheet.text(billing::Field::Text31), std::string("2000"), "consumption");
    checks.equal(sheet.text(billing::Field::Text27), std::string("1755,69"), "VAT");
    checks.equal(sheet.text(billing::Field::Text28), std::string("11509,5"), "total with VAT");
    return checks.finish("billing");
}

int checkSysInfo(bool expectStart, const std::vector<std::string>& expectedAttempts)
{
    Checks checks;
    CountingRegistry registry;
    RecordingStarter programs;
    platform::WindowsFileTest files;
    tests::RecordingMessageBox messages;
    about::SystemInformation sysInfo({registry, programs, files}, messages);
    for (const std::string& path : expectedAttempts) {
        DeleteFileA(markerOf(path).c_str()); // may not exist
    }

    sysInfo.StartSysInfo();

    checks.equal(programs.attempts().size(), expectedAttempts.size(), "number of starts");
    for (std::size_t i = 0; i < programs.attempts().size() && i < expectedAttempts.size(); ++i) {
        checks.equal(programs.attempts()[i], expectedAttempts[i], "started path");
    }
    checks.equal(registry.closed(), registry.opened(), "every opened key was closed");
    if (expectStart) {
        checks.check(messages.shown().empty(), "no message");
        if (!expectedAttempts.empty()) {
            checks.check(waitForFile(markerOf(expectedAttempts.back()), std::chrono::seconds(20)),
                         "the tool ran");
        }
    } else if (checks.equal(messages.shown().size(), std::size_t(1), "one message")) {
        checks.equal(messages.shown()[0].text,
                     std::string("System Information Is Unavailable At This Time"), "message");
        checks.equal(messages.shown()[0].caption, std::string(platform::kApplicationTitle),
                     "caption");
    }
    return checks.finish("sysinfo");
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "values") {
        return checkValues();
    }
    if (args.size() == 2 && args[0] == "files") {
        return checkFiles(args[1]);
    }
    if (args.size() == 1 && args[0] == "billing") {
        return checkBilling();
    }
    if (args.size() >= 2 && args[0] == "sysinfo" &&
        (args[1] == "started" || args[1] == "message")) {
        return checkSysInfo(args[1] == "started", {args.begin() + 2, args.end()});
    }
    std::fprintf(stderr, "usage: windows_check values | files <tool.exe> | billing | "
                         "sysinfo started|message [path...]\n");
    return 2;
}
