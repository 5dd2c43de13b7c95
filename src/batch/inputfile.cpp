#include "batch/inputfile.h"

#include "batch/systemerror.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace kaldora::batch {

namespace {

constexpr std::string_view kStandardInputName = "standardni ulaz";

} // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path, std::string& error)
{
    if (path.empty() || path == "-") {
#ifdef _WIN32
        // In text mode a byte 0x1A (Ctrl+Z) would end the input where it
        // stands, and CR LF would lose its CR; the reader takes both. Should
        // the switch fail, the input is read as the system gives it.
        const int previous = ::_setmode(::_fileno(stdin), _O_BINARY);
        static_cast<void>(previous);
#endif
        return std::make_unique<InputFile>(stdin, std::string(kStandardInputName), false);
    }
    const std::string name = "\"" + path + "\"";
#ifdef _WIN32
    // The path is UTF-8; Windows takes any name as UTF-16, whatever the
    // code page of the system.
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
#else
    const std::string& file = path;
#endif
    // A folder opens like a file here and fails only on the first read.
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
        error = "ne moze da se otvori " + name + ": " + systemErrorText(EISDIR);
        return nullptr;
    }
#ifdef _WIN32
    std::FILE* stream = ::_wfopen(file.c_str(), L"rb");
#else
    std::FILE* stream = std::fopen(file.c_str(), "rb");
#endif
    if (stream == nullptr) {
        error = "ne moze da se otvori " + name + ": " + systemErrorText(errno);
        return nullptr;
    }
    return std::make_unique<InputFile>(stream, name, true);
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
