#include "platform/posixfiletest.h"
#include "platform/posixprogramstarter.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace kaldora::about::test {
namespace {

using kaldora::tests::TempFolder;
using platform::PosixFileTest;
using platform::PosixProgramStarter;

std::string waitForFile(const std::string& path)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(path);
        std::stringstream content;
        content << in.rdbuf();
        // The script writes its line in one go and ends it with a newline.
        if (in && content.str().ends_with('\n')) {
            return content.str();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

// ---- program start ----

TEST(PosixProgramStarter, StartsTheFileAsItStandsWithoutArguments)
{
    TempFolder folder;
    const std::string marker = folder / "marker";
    // A name a shell would split and act upon: it must reach exec unchanged.
    // It writes its number of arguments, its session (the fourth field
    // after the command name in /proc/<pid>/stat) and the signals it
    // ignores (a hexadecimal mask).
    const std::string script = "#!/bin/sh\n"
                               "n=$#\n"
                               "s=$(cat /proc/$$/stat)\n"
                               "s=${s##*) }\n"
                               "set -- $s\n"
                               "i=$(grep SigIgn /proc/$$/status)\n"
                               "echo \"$n $4 ${i##*[[:space:]]}\" > '" +
                               marker + "'\n";
    const std::string program = folder.write("sys info; touch injected", script, true);
    PosixProgramStarter starter;

    // The window program ignores these for itself, not for what it starts.
    const auto pipe = std::signal(SIGPIPE, SIG_IGN);
    const auto size = std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_FALSE(starter.start(program));
    std::signal(SIGPIPE, pipe);
    std::signal(SIGXFSZ, size);

    const std::string line = waitForFile(marker);
    ASSERT_FALSE(line.empty());
    std::istringstream fields(line);
    int arguments = -1;
    pid_t session = -1;
    unsigned long long ignored = ~0ULL;
    fields >> arguments >> session >> std::hex >> ignored;
    EXPECT_EQ(arguments, 0);
    EXPECT_EQ(ignored & ((1ULL << (SIGPIPE - 1)) | (1ULL << (SIGXFSZ - 1))), 0U) << line;
    // A session of its own: the program lives on apart from this one.
    EXPECT_NE(session, ::getsid(0));
    EXPECT_FALSE(std::filesystem::exists(folder / "injected"));
}

TEST(PosixProgramStarter, LeavesNoChildToReap)
{
    TempFolder folder;
    const std::string marker = folder / "marker";
    const std::string program =
        folder.write("tool", "#!/bin/sh\necho done > '" + marker + "'\n", true);
    PosixProgramStarter starter;
    ASSERT_FALSE(starter.start(program));
    ASSERT_FALSE(waitForFile(marker).empty());
    // The intermediate child is reaped by start() and the program itself is
    // not a child of this process.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

struct FailedStart {
    const char* name;
    std::string (*make)(const TempFolder&);
    std::errc error;
};

const FailedStart kFailedStarts[] = {
    {"MissingFile", [](const TempFolder& f) { return f / "msinfo32"; },
     std::errc::no_such_file_or_directory},
    {"NotExecutable", [](const TempFolder& f) { return f.write("tool", "#!/bin/sh\n"); },
     std::errc::permission_denied},
    {"Folder", [](const TempFolder& f) { return f.path().string(); }, std::errc::permission_denied},
    // exec does not hand a file without "#!" to a shell, as a shell would.
    {"NoProgram", [](const TempFolder& f) { return f.write("tool", "echo hi\n", true); },
     std::errc::executable_format_error},
    {"EmptyPath", [](const TempFolder&) { return std::string(); },
     std::errc::no_such_file_or_directory},
    {"ZeroInPath",
     [](const TempFolder& f) { return f.write("tool", "#!/bin/sh\n", true) + '\0' + "x"; },
     std::errc::invalid_argument},
};

class PosixProgramStarterFails : public ::testing::TestWithParam<FailedStart> {};

TEST_P(PosixProgramStarterFails, ReportsWhyNothingStarted)
{
    TempFolder folder;
    PosixProgramStarter starter;
    const std::error_code error = starter.start(GetParam().make(folder));
    EXPECT_EQ(error, std::make_error_code(GetParam().error)) << error.message();
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

INSTANTIATE_TEST_SUITE_P(Paths, PosixProgramStarterFails, ::testing::ValuesIn(kFailedStarts),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- ordinary-file test ----

struct FileCase {
    const char* name;
    std::string (*make)(const TempFolder&);
    bool ordinary;
};

const FileCase kFileCases[] = {
    {"File", [](const TempFolder& f) { return f.write("MSINFO32.EXE", "x"); }, true},
    {"EmptyFile", [](const TempFolder& f) { return f.write("empty", ""); }, true},
    {"Folder",
     [](const TempFolder& f) {
         std::filesystem::create_directory(f.path() / "MSINFO32.EXE");
         return f / "MSINFO32.EXE";
     },
     false},
    {"HiddenFile", [](const TempFolder& f) { return f.write(".MSINFO32.EXE", "x"); }, false},
    {"FileInHiddenFolder",
     [](const TempFolder& f) {
         std::filesystem::create_directory(f.path() / ".tools");
         return f.write(".tools/MSINFO32.EXE", "x");
     },
     true},
    {"Missing", [](const TempFolder& f) { return f / "MSINFO32.EXE"; }, false},
    {"TrailingSlash", [](const TempFolder& f) { return f.write("file", "x") + "/"; }, false},
    {"LinkToFile",
     [](const TempFolder& f) {
         std::filesystem::create_symlink(f.write("target", "x"), f.path() / "link");
         return f / "link";
     },
     true},
    {"LinkToFolder",
     [](const TempFolder& f) {
         std::filesystem::create_directory_symlink(f.path(), f.path() / "link");
         return f / "link";
     },
     false},
    {"BrokenLink",
     [](const TempFolder& f) {
         std::filesystem::create_symlink(f.path() / "gone", f.path() / "link");
         return f / "link";
     },
     false},
    {"Empty", [](const TempFolder&) { return std::string(); }, false},
    {"ZeroInPath", [](const TempFolder& f) { return f.write("file", "x") + '\0'; }, false},
    {"BackslashJoinedName",
     [](const TempFolder& f) {
         f.write("MSINFO32.EXE", "x");
         return f.path().string() + "\\MSINFO32.EXE";
     },
     false},
};

class PosixFileTestCases : public ::testing::TestWithParam<FileCase> {};

TEST_P(PosixFileTestCases, FindsOnlyOrdinaryFiles)
{
    TempFolder folder;
    PosixFileTest files;
    EXPECT_EQ(files.isOrdinaryFile(GetParam().make(folder)), GetParam().ordinary);
}

INSTANTIATE_TEST_SUITE_P(Paths, PosixFileTestCases, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kaldora::about::test
