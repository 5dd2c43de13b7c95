#include "batch/inputtext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace kaldora::batch {
namespace {

namespace fs = std::filesystem;

class InputTextTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("kaldora-batch-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path m_dir;
};

TEST_F(InputTextTest, ReadsAFileLongerThanOneChunkByteForByte)
{
    std::string content;
    for (int i = 0; content.size() < 700 * 1024; ++i) {
        content += std::to_string(i) + ";1234,5;\"a\r\nb\";\xC5\xA1\n";
    }
    const fs::path file = m_dir / "racuni.csv";
    std::ofstream(file, std::ios::binary) << content;

    std::string error;
    const auto text = InputText::read(file.string(), error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text, content);
}

TEST_F(InputTextTest, ReadsAnEmptyFile)
{
    const fs::path file = m_dir / "prazno.csv";
    std::ofstream(file).close();
    std::string error;
    const auto text = InputText::read(file.string(), error);
    ASSERT_TRUE(text.has_value()) << error;
    EXPECT_EQ(*text, "");
}

TEST_F(InputTextTest, NamesTheFileItCannotRead)
{
    std::string error;
    const std::string missing = (m_dir / "nema.csv").string();
    EXPECT_FALSE(InputText::read(missing, error).has_value());
    EXPECT_NE(error.find("\"" + missing + "\""), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;

    error.clear();
    EXPECT_FALSE(InputText::read(m_dir.string(), error).has_value());
    EXPECT_NE(error.find(m_dir.string()), std::string::npos) << error;
}

} // namespace
} // namespace kaldora::batch
