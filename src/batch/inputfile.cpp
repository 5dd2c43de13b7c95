#include "batch/inputfile.h"

#include "batch/systemerror.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace kaldora::batch {

namespace {

constexpr std::string_view kStandardInputName = "standardni ulaz";

} // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path, std::string& error)
{
    if (path.empty() || path == "-") {
        return std::make_unique<InputFile>(stdin, std::string(kStandardInputName), false);
    }
    const std::string name = "\"" + path + "\"";
    // A folder opens like a file here and fails only on the first read.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = "ne moze da se otvori " + name + ": " + systemErrorText(EISDIR);
        return nullptr;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "ne moze da se otvori " + name + ": " + systemErrorText(errno);
        return nullptr;
    }
    return std::make_unique<InputFile>(file, name, true);
}

InputFile::InputFile(std::FILE* stream, std::string name, bool owned)
    : m_stream(stream)
    , m_name(std::move(name))
    , m_owned(owned)
{
}

InputFile::~InputFile()
{
    // The file was only read, so a failure to close it loses nothing.
    if (m_owned) {
        std::fclose(m_stream);
    }
}

std::size_t InputFile::read(char* buffer, std::size_t size)
{
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, m_stream);
    if (got < size && std::ferror(m_stream) != 0) {
        m_readError = errno != 0 ? errno : EIO;
    }
    return got;
}

std::string InputFile::error() const
{
    if (m_readError == 0) {
        return {};
    }
    return "ne moze da se procita " + m_name + ": " + systemErrorText(m_readError);
}

} // namespace kaldora::batch
