#include "platform/windowsprogramstarter.h"

#include <windows.h>

#include <vector>

namespace kaldora::platform {

std::error_code WindowsProgramStarter::start(const std::string& path)
{
    if (path.empty()) {
        return std::error_code(ERROR_FILE_NOT_FOUND, std::system_category());
    }
    if (path.find('\0') != std::string::npos) {
        return std::error_code(ERROR_INVALID_NAME, std::system_category());
    }

    // The program's own view of its command line: its quoted path and no
    // arguments. CreateProcessA may write into this buffer.
    std::string quoted = "\"" + path + "\"";
    std::vector<char> commandLine(quoted.begin(), quoted.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return std::error_code(static_cast<int>(GetLastError()), std::system_category());
    }
    // The program runs on by itself; closing the handles neither waits for
    // nor ends it, and a failed close cannot undo the start.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

} // namespace kaldora::platform
