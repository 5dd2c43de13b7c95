#include "about/systeminformation.h"
#include "platform/desktopregistry.h"
#include "platform/posixfiletest.h"
#include "platform/posixprogramstarter.h"
#include "support/environmentoverride.h"
#include "support/recordingmessagebox.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace kaldora::about::test {
namespace {

using kaldora::tests::EnvironmentOverride;
using kaldora::tests::TempFolder;
using platform::DesktopRegistry;
using platform::RegistryKey;

const std::string kMsinfo(kMsinfoPathKey);
const std::string kLocation(kMsinfoFolderKey);
constexpr std::uint32_t kAccess = platform::kKeyQueryValue;

// The value "PATH" as the registry returns it, or the status.
struct Lookup {
    platform::RegistryStatus status;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::string bytes;
};

Lookup lookUp(DesktopRegistry& registry, const std::string& key, const std::string& name,
              std::size_t capacity = 1024)
{
    RegistryKey open{};
    Lookup result{registry.openKey(platform::kHKeyLocalMachine, key, 0, kAccess, open), 0, 0, {}};
    if (result.status != platform::kErrorSuccess) {
        return result;
    }
    std::vector<std::byte> buffer(capacity);
    result.status = registry.queryValue(open, name, result.type, buffer, result.size);
    if (result.status == platform::kErrorSuccess) {
        result.bytes.assign(reinterpret_cast<const char*>(buffer.data()), result.size);
    }
    EXPECT_EQ(registry.closeKey(open), platform::kErrorSuccess);
    return result;
}

class DesktopRegistryTest : public ::testing::Test {
protected:
    TempFolder first;
    TempFolder second;

    std::string searchPath() const { return first.path().string() + ":" + second.path().string(); }
};

TEST_F(DesktopRegistryTest, PathIsTheFirstProgramOfTheListNotTheFirstFolder)
{
    first.write("kinfocenter", "#!/bin/sh\n", true);
    second.write("hardinfo", "#!/bin/sh\n", true);
    DesktopRegistry registry(searchPath());
    const Lookup found = lookUp(registry, kMsinfo, "PATH");
    ASSERT_EQ(found.status, platform::kErrorSuccess);
    EXPECT_EQ(found.type, platform::kRegSz);
    // Text comes with its terminating zero, as the registry stores it.
    EXPECT_EQ(found.bytes, (second / "hardinfo") + '\0');
    EXPECT_EQ(found.size, found.bytes.size());
}

TEST_F(DesktopRegistryTest, SkipsWhatCannotBeStarted)
{
    first.write("hardinfo2", "not a program\n");                  // not executable
    std::filesystem::create_directory(first.path() / "hardinfo"); // a folder
    second.write("cpu-x", "#!/bin/sh\n", true);
    DesktopRegistry registry(searchPath());
    EXPECT_EQ(lookUp(registry, kMsinfo, "PATH").bytes, (second / "cpu-x") + '\0');
}

TEST_F(DesktopRegistryTest, RelativeAndEmptySearchEntriesAreIgnored)
{
    first.write("hardinfo", "#!/bin/sh\n", true);
    const std::string relative =
        std::filesystem::relative(first.path(), std::filesystem::current_path()).string();
    ASSERT_FALSE(relative.empty());
    ASSERT_NE(relative.front(), '/');
    DesktopRegistry registry(":" + relative + "::");
    EXPECT_EQ(lookUp(registry, kMsinfo, "PATH").status, platform::kErrorFileNotFound);
}

TEST_F(DesktopRegistryTest, NoProgramMeansNoValue)
{
    first.write("gnome-system-monitor", "#!/bin/sh\n", true);
    DesktopRegistry registry(searchPath());
    EXPECT_EQ(lookUp(registry, kMsinfo, "PATH").status, platform::kErrorFileNotFound);
    DesktopRegistry empty{std::string()};
    EXPECT_EQ(lookUp(empty, kMsinfo, "PATH").status, platform::kErrorFileNotFound);
}

TEST_F(DesktopRegistryTest, DefaultSearchesTheEnvironmentsPathAtEachLookup)
{
    DesktopRegistry registry;
    Lookup before;
    Lookup after;
    {
        const EnvironmentOverride path("PATH", searchPath());
        before = lookUp(registry, kMsinfo, "PATH");
        first.write("i-nex", "#!/bin/sh\n", true);
        after = lookUp(registry, kMsinfo, "PATH");
    }
    EXPECT_EQ(before.status, platform::kErrorFileNotFound);
    EXPECT_EQ(after.bytes, (first / "i-nex") + '\0');
}

TEST_F(DesktopRegistryTest, TooSmallBufferGetsMoreDataAndTheSizeNeeded)
{
    first.write("hardinfo", "#!/bin/sh\n", true);
    const std::string expected = (first / "hardinfo") + '\0';
    DesktopRegistry registry(searchPath());
    const Lookup tight = lookUp(registry, kMsinfo, "PATH", expected.size());
    EXPECT_EQ(tight.status, platform::kErrorSuccess);
    EXPECT_EQ(tight.bytes, expected);
    const Lookup small = lookUp(registry, kMsinfo, "PATH", expected.size() - 1);
    EXPECT_EQ(small.status, platform::kErrorMoreData);
    EXPECT_EQ(small.size, expected.size());
}

struct KeyCase {
    const char* key;
    const char* value;
    platform::RegistryStatus open;
    platform::RegistryStatus query;
};

class DesktopRegistryKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DesktopRegistryKeys, AnswersOnlyTheTwoLookups)
{
    TempFolder folder;
    folder.write("hardinfo", "#!/bin/sh\n", true);
    DesktopRegistry registry(folder.path().string());
    const KeyCase& c = GetParam();
    RegistryKey key{};
    EXPECT_EQ(registry.openKey(platform::kHKeyLocalMachine, c.key, 0, kAccess, key), c.open);
    if (c.open == platform::kErrorSuccess) {
        std::array<std::byte, 1024> buffer{};
        std::uint32_t type = 0, size = 0;
        EXPECT_EQ(registry.queryValue(key, c.value, type, buffer, size), c.query);
        EXPECT_EQ(registry.closeKey(key), platform::kErrorSuccess);
    }
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DesktopRegistryKeys,
    ::testing::Values(KeyCase{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", 0, 0},
                      KeyCase{"software\\microsoft\\shared tools\\msinfo", "Path", 0, 0},
                      KeyCase{"SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", 0, 2},
                      KeyCase{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "MSINFO", 0, 2},
                      KeyCase{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "", 0, 2},
                      KeyCase{"SOFTWARE\\Microsoft\\Shared Tools", "PATH", 2, 0},
                      KeyCase{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\\", "PATH", 2, 0},
                      KeyCase{"", "PATH", 2, 0}));

TEST(DesktopRegistry, HandlesAreCheckedAndClosedOnce)
{
    DesktopRegistry registry{std::string()};
    RegistryKey key{};
    ASSERT_EQ(registry.openKey(platform::kHKeyLocalMachine, kLocation, 0, kAccess, key), 0);
    RegistryKey child{};
    EXPECT_EQ(registry.openKey(key, "Sub", 0, kAccess, child), platform::kErrorFileNotFound);
    EXPECT_EQ(registry.openKeyCount(), 1u);
    EXPECT_EQ(registry.closeKey(key), platform::kErrorSuccess);
    EXPECT_EQ(registry.closeKey(key), platform::kErrorInvalidHandle);
    std::array<std::byte, 16> buffer{};
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(registry.queryValue(key, "MSINFO", type, buffer, size),
              platform::kErrorInvalidHandle);
    EXPECT_EQ(registry.openKey(key, kMsinfo, 0, kAccess, child), platform::kErrorInvalidHandle);
}

// The whole way on a desktop: the stand-in names a program on the search
// path, and it is really started.
TEST(DesktopSysInfo, StartsTheProgramFoundOnTheSearchPath)
{
    TempFolder folder;
    const std::string marker = folder / "started";
    folder.write("hardinfo2", "#!/bin/sh\necho started > '" + marker + "'\n", true);
    DesktopRegistry registry(folder.path().string());
    platform::PosixProgramStarter programs;
    platform::PosixFileTest files;
    kaldora::tests::RecordingMessageBox messages;
    SystemInformation sysInfo({registry, programs, files}, messages);

    sysInfo.StartSysInfo();

    EXPECT_TRUE(messages.shown().empty());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

TEST(DesktopSysInfo, NoProgramOnTheSearchPathShowsTheMessage)
{
    TempFolder folder;
    DesktopRegistry registry(folder.path().string());
    platform::PosixProgramStarter programs;
    platform::PosixFileTest files;
    kaldora::tests::RecordingMessageBox messages;
    SystemInformation sysInfo({registry, programs, files}, messages);

    sysInfo.StartSysInfo();

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, kSysInfoUnavailable);
    EXPECT_EQ(registry.openKeyCount(), 0u);
}

} // namespace
} // namespace kaldora::about::test
