#include "about/abouttexts.h"
#include "about/systeminformation.h"
#include "fakefiletest.h"
#include "fakeprogramstarter.h"
#include "fakeregistry.h"
#include "platform/apptitle.h"
#include "support/recordingmessagebox.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kaldora::about::test {
namespace {

using Bytes = std::vector<std::byte>;

const std::string kKey = "SOFTWARE\\Kaldora\\Test";
const std::string kName = "Value";
const std::string kPathKey(kMsinfoPathKey);
const std::string kFolderKey(kMsinfoFolderKey);

Bytes bytes(std::string_view text)
{
    Bytes b;
    for (char c : text) {
        b.push_back(static_cast<std::byte>(c));
    }
    return b;
}

class SystemInformationFixture {
protected:
    FakeRegistry registry;
    FakeProgramStarter programs;
    FakeFileTest files;
    kaldora::tests::RecordingMessageBox messages;
    SystemInformation sysInfo{platform::OsServices{registry, programs, files}, messages};

    void expectEveryKeyClosed() const
    {
        EXPECT_EQ(registry.keysClosed(), registry.keysHandedOut());
        EXPECT_EQ(registry.stillOpen(), 0u);
        EXPECT_EQ(registry.badCloses(), 0);
    }
};

// ---- GetKeyValue: one value, read back as text ----

struct ValueCase {
    const char* name;
    std::optional<FakeRegistry::Value> value; // nullopt: the key has no such value
    std::string entryText;
    int result;
    std::string text;
};

std::string withZeros(std::string s, std::size_t zeros)
{
    return s.append(zeros, '\0');
}

const std::string k1023(1023, 'x');
const std::string k1024(1024, 'y');

const ValueCase kValueCases[] = {
    {"TextLosesItsTerminatingZero",
     {{platform::kRegSz, bytes(withZeros("abc", 1))}},
     "old",
     kTrue,
     "abc"},
    {"TextWithoutZeroKeepsAllCharacters", {{platform::kRegSz, bytes("abc")}}, "", kTrue, "abc"},
    {"OnlyOneOfTwoTrailingZerosIsCut",
     {{platform::kRegSz, bytes(withZeros("abc", 2))}},
     "",
     kTrue,
     withZeros("abc", 1)},
    {"ZeroInsideTheTextStays",
     {{platform::kRegSz, bytes(withZeros("a", 1) + "b")}},
     "",
     kTrue,
     withZeros("a", 1) + "b"},
    {"EmptyTextIsFound", {{platform::kRegSz, bytes(withZeros("", 1))}}, "old", kTrue, ""},
    {"BytesAboveAsciiAreKeptOnePerCharacter",
     {{platform::kRegSz, bytes(withZeros("caf\xE9", 1))}},
     "",
     kTrue,
     "caf\xE9"},
    {"Exactly1024BytesWithZeroAreRead",
     {{platform::kRegSz, bytes(withZeros(k1023, 1))}},
     "",
     kTrue,
     k1023},
    {"Exactly1024BytesWithoutZeroAreRead", {{platform::kRegSz, bytes(k1024)}}, "", kTrue, k1024},
    {"ValueOf1025BytesCountsAsMissing",
     {{platform::kRegSz, bytes(withZeros(k1024, 1))}},
     "old",
     kFalse,
     ""},
    {"MissingValueEmptiesTheText", std::nullopt, "old", kFalse, ""},
    {"ExpandableTextIsFoundButGivesNoText",
     {{platform::kRegExpandSz, bytes(withZeros("%SystemRoot%", 1))}},
     "entry",
     kTrue,
     "entry"},
    {"BinaryIsFoundButGivesNoText", {{platform::kRegBinary, bytes("\x01\x02")}}, "", kTrue, ""},
    // A number's bytes, last to first, each without a leading zero; the
    // terminating-zero rule has cut its highest byte when that was 0.
    {"NumberSixteen",
     {{platform::kRegDword, bytes(std::string("\x10\0\0\0", 4))}},
     "",
     kTrue,
     "&h0010"},
    {"NumberWithAllBytesSet",
     {{platform::kRegDword, bytes("\x04\x03\x02\x01")}},
     "",
     kTrue,
     "&h1234"},
    {"NumberAllOnes", {{platform::kRegDword, bytes("\xFF\xFF\xFF\xFF")}}, "", kTrue, "&hFFFFFFFF"},
    {"NumberZero", {{platform::kRegDword, bytes(std::string(4, '\0'))}}, "", kTrue, "&h000"},
    {"NumberDigitsFollowTheEntryText",
     {{platform::kRegDword, bytes("\xAB\x0C\x01\x02")}},
     "9z",
     kTrue,
     "&h9z21CAB"},
};

class GetKeyValueTest : public SystemInformationFixture,
                        public ::testing::TestWithParam<ValueCase> {};

TEST_P(GetKeyValueTest, ReadsTheValueAndClosesTheKey)
{
    const ValueCase& c = GetParam();
    registry.addKey(kKey);
    if (c.value) {
        registry.setValue(kKey, kName, *c.value);
    }
    std::string text = c.entryText;
    EXPECT_EQ(sysInfo.GetKeyValue(kLocalMachineRoot, kKey, kName, text), c.result);
    EXPECT_EQ(text, c.text);

    ASSERT_EQ(registry.openCalls().size(), 1u);
    const FakeRegistry::OpenCall& open = registry.openCalls().front();
    EXPECT_EQ(open.parent, platform::kHKeyLocalMachine);
    EXPECT_EQ(open.path, kKey);
    EXPECT_EQ(open.options, 0u);
    // A standard user may read HKEY_LOCAL_MACHINE but not write there.
    EXPECT_EQ(open.access & ~platform::kKeyRead, 0u) << "the key is opened for more than reading";
    EXPECT_EQ(registry.lastQueryCapacity(), std::optional<std::size_t>(1024));
    EXPECT_EQ(registry.keysHandedOut(), 1);
    expectEveryKeyClosed();
}

INSTANTIATE_TEST_SUITE_P(Values, GetKeyValueTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GetKeyValueTest, MissingKeyEmptiesTheTextAndClosesNothing)
{
    std::string text = "old";
    EXPECT_EQ(sysInfo.GetKeyValue(kLocalMachineRoot, kKey, kName, text), kFalse);
    EXPECT_EQ(text, "");
    EXPECT_EQ(registry.keysHandedOut(), 0);
    EXPECT_EQ(registry.keysClosed(), 0);
    EXPECT_EQ(registry.badCloses(), 0);
}

TEST_F(GetKeyValueTest, KeyThatRefusesReadingCountsAsMissing)
{
    registry.setText(kKey, kName, "abc");
    registry.limitAccess(kKey, platform::kReadControl);
    std::string text = "old";
    EXPECT_EQ(sysInfo.GetKeyValue(kLocalMachineRoot, kKey, kName, text), kFalse);
    EXPECT_EQ(text, "");
    EXPECT_EQ(registry.keysHandedOut(), 0);
}

TEST_F(GetKeyValueTest, ValueWithoutDataFailsAfterClosingTheKey)
{
    for (std::uint32_t type : {platform::kRegSz, platform::kRegBinary, platform::kRegDword}) {
        registry.setValue(kKey, kName, {type, {}});
        std::string text = "old";
        EXPECT_THROW(sysInfo.GetKeyValue(kLocalMachineRoot, kKey, kName, text), std::out_of_range);
        EXPECT_EQ(text, "old");
    }
    EXPECT_EQ(registry.keysHandedOut(), 3);
    expectEveryKeyClosed();
}

TEST_F(GetKeyValueTest, FailedCloseDoesNotChangeTheResult)
{
    registry.setText(kKey, kName, "abc");
    registry.failCloses(platform::kErrorInvalidHandle);
    std::string text;
    EXPECT_EQ(sysInfo.GetKeyValue(kLocalMachineRoot, kKey, kName, text), kTrue);
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(registry.keysClosed(), 1);
}

// ---- StartSysInfo: which program is started, or the one message ----

const std::string kToolPath = "C:\\Program Files\\Common Files\\MSInfo\\msinfo32.exe";
const std::string kFolder = "C:\\Program Files\\Common Files\\MSInfo";
const std::string kFolderTool = kFolder + "\\MSINFO32.EXE";

enum class Outcome { Started, Message };

struct StartCase {
    const char* name;
    void (*setUp)(FakeRegistry&, FakeFileTest&, FakeProgramStarter&);
    Outcome outcome;
    std::vector<std::string> attempts; // the paths the start was asked for
    std::vector<std::string> checked;  // the paths the file test was asked about
    std::vector<std::string> keysOpened;
};

void folderWithTool(FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p)
{
    r.setText(kFolderKey, "MSINFO", kFolder);
    f.addFile(kFolderTool);
    p.addProgram(kFolderTool);
}

const StartCase kStartCases[] = {
    {"PathFoundIsStartedDirectly",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setText(kPathKey, "PATH", kToolPath);
         p.addProgram(kToolPath);
         folderWithTool(r, f, p);
     },
     Outcome::Started,
     {kToolPath},
     {},
     {kPathKey}},
    {"PathNamingNoProgramFailsWithoutTryingTheFolder",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setText(kPathKey, "PATH", "C:\\gone\\msinfo32.exe");
         folderWithTool(r, f, p);
     },
     Outcome::Message,
     {"C:\\gone\\msinfo32.exe"},
     {},
     {kPathKey}},
    {"FolderHoldingTheToolIsUsedWhenPathIsMissing",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.addKey(kPathKey);
         folderWithTool(r, f, p);
     },
     Outcome::Started,
     {kFolderTool},
     {kFolderTool},
     {kPathKey, kFolderKey}},
    {"FolderWithoutTheToolShowsTheMessage",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter&) {
         r.setText(kFolderKey, "MSINFO", kFolder);
     },
     Outcome::Message,
     {},
     {kFolderTool},
     {kPathKey, kFolderKey}},
    {"FolderWhoseToolWillNotStartShowsTheMessage",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter&) {
         r.setText(kFolderKey, "MSINFO", kFolder);
         f.addFile(kFolderTool);
     },
     Outcome::Message,
     {kFolderTool},
     {kFolderTool},
     {kPathKey, kFolderKey}},
    {"FolderIsJoinedWithoutLookingAtItsSeparator",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter&) {
         r.setText(kFolderKey, "MSINFO", kFolder + "\\");
     },
     Outcome::Message,
     {},
     {kFolder + "\\\\MSINFO32.EXE"},
     {kPathKey, kFolderKey}},
    {"BothValuesMissingShowsTheMessage",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter&) {
         r.addKey(kPathKey);
         r.addKey(kFolderKey);
     },
     Outcome::Message,
     {},
     {},
     {kPathKey, kFolderKey}},
    {"BothKeysMissingShowsTheMessage",
     [](FakeRegistry&, FakeFileTest&, FakeProgramStarter&) {},
     Outcome::Message,
     {},
     {},
     {kPathKey, kFolderKey}},
    {"ExpandablePathGivesNoTextAndIsNotFollowedByTheFolder",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setValue(kPathKey, "PATH", {platform::kRegExpandSz, bytes(kToolPath + '\0')});
         p.addProgram(kToolPath);
         folderWithTool(r, f, p);
     },
     Outcome::Message,
     {},
     {},
     {kPathKey}},
    {"PathWithoutDataEndsAtOnce",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setValue(kPathKey, "PATH", {platform::kRegSz, {}});
         folderWithTool(r, f, p);
     },
     Outcome::Message,
     {},
     {},
     {kPathKey}},
    {"FolderWithoutDataEndsAtOnce",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter&) {
         r.setValue(kFolderKey, "MSINFO", {platform::kRegSz, {}});
     },
     Outcome::Message,
     {},
     {},
     {kPathKey, kFolderKey}},
    {"PathKeyRefusingTheAccessCountsAsMissing",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setText(kPathKey, "PATH", kToolPath);
         r.limitAccess(kPathKey, platform::kReadControl | platform::kKeyEnumerateSubKeys);
         p.addProgram(kToolPath);
         folderWithTool(r, f, p);
     },
     Outcome::Started,
     {kFolderTool},
     {kFolderTool},
     {kPathKey, kFolderKey}},
    {"PathOf1025BytesCountsAsMissing",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         const std::string longPath = "C:\\" + std::string(1021, 'a');
         r.setText(kPathKey, "PATH", longPath);
         p.addProgram(longPath);
         folderWithTool(r, f, p);
     },
     Outcome::Started,
     {kFolderTool},
     {kFolderTool},
     {kPathKey, kFolderKey}},
    {"PathOf1024BytesIsStarted",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter& p) {
         const std::string longPath = "C:\\" + std::string(1020, 'a');
         r.setText(kPathKey, "PATH", longPath);
         p.addProgram(longPath);
     },
     Outcome::Started,
     {"C:\\" + std::string(1020, 'a')},
     {},
     {kPathKey}},
    {"NumberAsPathCannotBeStarted",
     [](FakeRegistry& r, FakeFileTest& f, FakeProgramStarter& p) {
         r.setValue(kPathKey, "PATH", {platform::kRegDword, bytes("\x01\x02\x03\x04")});
         folderWithTool(r, f, p);
     },
     Outcome::Message,
     {"&h4321"},
     {},
     {kPathKey}},
    {"PathWithTwoTrailingZerosKeepsOneAndDoesNotStart",
     [](FakeRegistry& r, FakeFileTest&, FakeProgramStarter& p) {
         r.setValue(kPathKey, "PATH", {platform::kRegSz, bytes(kToolPath + '\0' + '\0')});
         p.addProgram(kToolPath);
     },
     Outcome::Message,
     {kToolPath + '\0'},
     {},
     {kPathKey}},
};

class StartSysInfoTest : public SystemInformationFixture,
                         public ::testing::TestWithParam<StartCase> {};

TEST_P(StartSysInfoTest, StartsTheToolOrShowsTheOneMessage)
{
    const StartCase& c = GetParam();
    c.setUp(registry, files, programs);

    sysInfo.StartSysInfo();

    EXPECT_EQ(programs.attempts(), c.attempts);
    EXPECT_EQ(files.asked(), c.checked);
    std::vector<std::string> opened;
    for (const auto& call : registry.openCalls()) {
        opened.push_back(call.path);
    }
    EXPECT_EQ(opened, c.keysOpened);
    if (c.outcome == Outcome::Started) {
        EXPECT_EQ(programs.started().size(), 1u);
        EXPECT_TRUE(messages.shown().empty());
    } else {
        EXPECT_TRUE(programs.started().empty());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, "System Information Is Unavailable At This Time");
        EXPECT_EQ(messages.shown()[0].caption, platform::kApplicationTitle);
    }
    expectEveryKeyClosed();
}

INSTANTIATE_TEST_SUITE_P(Lookups, StartSysInfoTest, ::testing::ValuesIn(kStartCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartSysInfoTest, EachClickLooksUpAfresh)
{
    sysInfo.StartSysInfo();
    registry.setText(kPathKey, "PATH", kToolPath);
    programs.addProgram(kToolPath);
    sysInfo.StartSysInfo();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(programs.started(), std::vector<std::string>{kToolPath});
    expectEveryKeyClosed();
}

// ---- the version label ----

struct VersionCase {
    int major, minor, revision;
    const char* label;
};

class VersionLabelTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionLabelTest, NumbersAreWrittenWithoutPadding)
{
    const VersionCase& c = GetParam();
    EXPECT_EQ(versionLabel(c.major, c.minor, c.revision), c.label);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionLabelTest,
                         ::testing::Values(VersionCase{1, 0, 0, "Version 1.0.0"},
                                           VersionCase{2, 10, 3, "Version 2.10.3"},
                                           VersionCase{0, 0, 100, "Version 0.0.100"}));

} // namespace
} // namespace kaldora::about::test
