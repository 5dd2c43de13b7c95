#include "support/tempfolder.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace kaldora::tests {

namespace {

// Names are drawn at random; creating a folder fails when the name is
// taken, so a clash with another test running at the same time only costs
// another draw. mkdtemp() would do the same but does not exist on Windows,
// where the Windows check uses this too.
constexpr int kNameAttempts = 100;

} // namespace

TempFolder::TempFolder(std::string_view prefix)
{
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device entropy;
    std::mt19937_64 names(entropy());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path candidate =
            base / (std::string(prefix) + '-' + std::to_string(names()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = candidate;
            // Private to its owner, as mkdtemp() makes it.
            std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace);
            return;
        }
        if (error) {
            throw std::system_error(error, "create " + candidate.string());
        }
    }
    throw std::runtime_error("no free name for a temporary folder in " + base.string());
}

TempFolder::~TempFolder()
{
    std::error_code ignored; // a leftover temporary folder harms no test
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& content,
                              bool executable) const
{
    const std::filesystem::path file = m_path / name;
    std::ofstream out(file, std::ios::binary);
    out << content;
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    if (executable) {
        std::filesystem::permissions(file, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
    }
    return file.string();
}

} // namespace kaldora::tests
