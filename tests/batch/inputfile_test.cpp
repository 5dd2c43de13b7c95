#include "batch/inputfile.h"
#include "batch/outputfile.h"
#include "batch/systemerror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace kaldora::batch {
namespace {

namespace fs = std::filesystem;

class InputFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kaldora-batch-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Everything the input gives, read in pieces of `piece` bytes.
    static std::string readAll(ByteSource& input, std::size_t piece)
    {
        std::string text;
        std::string buffer(piece, '\0');
        for (;;) {
            const std::size_t got = input.read(buffer.data(), piece);
            text.append(buffer.data(), got);
            if (got < piece) {
                return text;
            }
        }
    }

    fs::path m_dir;
};

TEST_F(InputFileTest, ReadsAFileInPiecesByteForByte)
{
    std::string content;
    for (int i = 0; content.size() < 700 * 1024; ++i) {
        content += std::to_string(i) + ";1234,5;\"a\r\nb\";\xC5\xA1\n";
    }
    const fs::path file = m_dir / "racuni.csv";
    std::ofstream(file, std::ios::binary) << content;

    std::string error;
    const auto input = InputFile::open(file.string(), error);
    ASSERT_NE(input, nullptr) << error;
    EXPECT_EQ(readAll(*input, 64 * 1024), content);
    EXPECT_EQ(input->error(), "");
}

TEST_F(InputFileTest, ReadsAnEmptyFile)
{
    const fs::path file = m_dir / "prazno.csv";
    std::ofstream(file).close();
    std::string error;
    const auto input = InputFile::open(file.string(), error);
    ASSERT_NE(input, nullptr) << error;
    EXPECT_EQ(readAll(*input, 16), "");
    EXPECT_EQ(input->error(), "");
}

// The message names the file and says in Serbian what is wrong with it.
TEST_F(InputFileTest, NamesTheFileItCannotOpenAndWhy)
{
    std::string error;
    const std::string missing = (m_dir / "nema.csv").string();
    EXPECT_EQ(InputFile::open(missing, error), nullptr);
    EXPECT_EQ(error, "ne moze da se otvori \"" + missing + "\": datoteka ne postoji");

    error.clear();
    EXPECT_EQ(InputFile::open(m_dir.string(), error), nullptr);
    EXPECT_EQ(error,
              "ne moze da se otvori \"" + m_dir.string() + "\": to je folder, a ne datoteka");
}

// Each cause a user meets reading the input or writing the bills, in the
// words the user reads.
struct ErrorTextCase {
    const char* name;
    int cause;
    const char* text;
};

constexpr ErrorTextCase kErrorTexts[] = {
    {"NoSuchFile", ENOENT, "datoteka ne postoji"},
    {"NoAccess", EACCES, "nema dozvole za pristup"},
    {"NotPermitted", EPERM, "nema dozvole za pristup"},
    {"Folder", EISDIR, "to je folder, a ne datoteka"},
    {"PartOfPathNoFolder", ENOTDIR, "deo putanje nije folder"},
    {"DiskFull", ENOSPC, "disk je pun"},
#ifdef EDQUOT
    {"QuotaExceeded", EDQUOT, "prekoracena je kvota na disku"},
#endif
    {"FileTooLarge", EFBIG, "datoteka je prevelika"},
    {"OutputClosed", EPIPE, "izlaz je zatvoren: program koji ga je citao je zavrsio"},
    {"NotOpen", EBADF, "datoteka nije otvorena"},
    {"DiskError", EIO, "greska pri citanju ili pisanju na disku"},
    {"NameTooLong", ENAMETOOLONG, "ime je predugacko"},
    {"NoMemory", ENOMEM, "nema dovoljno memorije"},
};

class SystemErrorText : public testing::TestWithParam<ErrorTextCase> {};

TEST_P(SystemErrorText, SaysTheCommonCausesInWordsOfTheirOwn)
{
    EXPECT_EQ(systemErrorText(GetParam().cause), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Causes, SystemErrorText, testing::ValuesIn(kErrorTexts),
                         [](const auto& info) { return std::string(info.param.name); });

// A rarer cause keeps the system's own words and its number, so that it can
// be looked up.
TEST(SystemErrorTextOther, NamesTheNumber)
{
    EXPECT_EQ(systemErrorText(EXDEV).rfind("sistemska greska " + std::to_string(EXDEV) + " (", 0),
              0u);
}

#ifdef _WIN32
// The reader of a pipe has gone: the write fails as a closed output, in the
// same words as elsewhere, not as an invalid argument (the C run-time's
// reading of Windows' code for it).
TEST(OutputFileOnWindows, ClosedPipeIsAClosedOutput)
{
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    ASSERT_TRUE(CloseHandle(readEnd));
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_BINARY);
    ASSERT_GE(fd, 0);
    OutputFile out(fd);
    EXPECT_FALSE(out.write("a;b\n", 4));
    EXPECT_EQ(out.error(), "izlaz nije mogao da se upise: izlaz je zatvoren: program koji ga je "
                           "citao je zavrsio");
    EXPECT_EQ(::_close(fd), 0);
}
#endif

} // namespace
} // namespace kaldora::batch
