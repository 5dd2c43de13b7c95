#include "tempfolder.h"

#include <fstream>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>

namespace kaldora::about::test {

TempFolder::TempFolder()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kaldora-about-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    m_path = pattern;
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

} // namespace kaldora::about::test
