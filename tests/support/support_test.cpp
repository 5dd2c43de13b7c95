// The window-free test support: temporary folders, environment overrides,
// the private home every test program runs in, and the recording message
// box.

#include "support/environmentoverride.h"
#include "support/privatehome.h"
#include "support/recordingmessagebox.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace kaldora::tests {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

bool isInside(const fs::path& path, const fs::path& folder)
{
    const std::string relative = fs::relative(path, folder).string();
    return !relative.empty() && relative.rfind("..", 0) != 0;
}

TEST(TempFolder, EachIsNewEmptyAndPrivate)
{
    TempFolder first;
    TempFolder second;
    EXPECT_NE(first.path(), second.path());
    for (const TempFolder* folder : {&first, &second}) {
        ASSERT_TRUE(fs::is_directory(folder->path()));
        EXPECT_TRUE(fs::is_empty(folder->path()));
        EXPECT_TRUE(isInside(folder->path(), fs::temp_directory_path()));
        EXPECT_EQ(fs::status(folder->path()).permissions(), fs::perms::owner_all);
    }
}

TEST(TempFolder, GoesWithAllItHolds)
{
    fs::path kept;
    {
        TempFolder folder;
        kept = folder.path();
        folder.write("file", "x");
        fs::create_directories(kept / "sub" / "deeper");
        folder.write("sub/deeper/file", "y");
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST(TempFolder, WritesFilesExecutableOnRequest)
{
    TempFolder folder;
    const std::string plain = folder.write("plain", "some\ntext");
    const std::string tool = folder.write("tool", "#!/bin/sh\n", true);
    EXPECT_EQ(plain, folder / "plain");
    std::ifstream in(plain, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "some\ntext");
    EXPECT_EQ(fs::status(plain).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_NE(fs::status(tool).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_THROW(folder.write("missing/file", "x"), std::runtime_error);
}

TEST(EnvironmentOverride, SetsAndPutsBackAVariableThatWasSet)
{
    const EnvironmentOverride outer("KALDORA_SUPPORT_TEST", "before");
    {
        const EnvironmentOverride inner("KALDORA_SUPPORT_TEST", "during");
        EXPECT_EQ(variable("KALDORA_SUPPORT_TEST"), "during");
    }
    EXPECT_EQ(variable("KALDORA_SUPPORT_TEST"), "before");
}

TEST(EnvironmentOverride, RemovesAVariableThatWasNotSet)
{
    ASSERT_EQ(variable("KALDORA_SUPPORT_UNSET"), std::nullopt);
    {
        const EnvironmentOverride set("KALDORA_SUPPORT_UNSET", "value");
        EXPECT_EQ(variable("KALDORA_SUPPORT_UNSET"), "value");
    }
    EXPECT_EQ(variable("KALDORA_SUPPORT_UNSET"), std::nullopt);
}

constexpr const char* kHomeVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                          "XDG_CACHE_HOME", "XDG_STATE_HOME"};

// This program's main runs every test in a private home already.
TEST(PrivateHome, TheTestsRunInOne)
{
    for (const char* name : kHomeVariables) {
        const std::optional<std::string> value = variable(name);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_TRUE(isInside(*value, fs::temp_directory_path())) << name << "=" << *value;
    }
}

TEST(PrivateHome, MovesEveryFolderIntoItAndBackAfter)
{
    std::optional<std::string> before[std::size(kHomeVariables)];
    for (std::size_t i = 0; i < std::size(kHomeVariables); ++i) {
        before[i] = variable(kHomeVariables[i]);
    }
    fs::path kept;
    {
        const PrivateHome home;
        kept = home.path();
        EXPECT_TRUE(fs::is_empty(kept));
        EXPECT_EQ(variable("HOME"), kept.string());
        EXPECT_EQ(variable("XDG_DATA_HOME"), (kept / ".local/share").string());
        for (const char* name : kHomeVariables) {
            EXPECT_TRUE(variable(name)->rfind(kept.string(), 0) == 0) << name;
        }
    }
    EXPECT_FALSE(fs::exists(kept));
    for (std::size_t i = 0; i < std::size(kHomeVariables); ++i) {
        EXPECT_EQ(variable(kHomeVariables[i]), before[i]) << kHomeVariables[i];
    }
}

TEST(RecordingMessageBox, KeepsEveryMessageInOrder)
{
    RecordingMessageBox messages;
    billing::Notice& notice = messages;
    notice.show("FIRST", "ONE");
    notice.show("", "");
    notice.show("THIRD", "THREE");
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[0].text, "FIRST");
    EXPECT_EQ(messages.shown()[0].caption, "ONE");
    EXPECT_EQ(messages.shown()[1].text, "");
    EXPECT_EQ(messages.shown()[2].text, "THIRD");
    EXPECT_EQ(messages.shown()[2].caption, "THREE");
}

TEST(RecordingMessageBox, RunsTheReactionWhileTheMessageIsShown)
{
    RecordingMessageBox messages;
    messages.show("BEFORE", "");
    std::vector<std::size_t> seen;
    messages.setOnShow([&] { seen.push_back(messages.shown().size()); });
    messages.show("DURING", "");
    messages.show("AGAIN", "");
    EXPECT_EQ(seen, (std::vector<std::size_t>{2, 3}));
}

} // namespace
} // namespace kaldora::tests
