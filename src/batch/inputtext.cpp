#include "batch/inputtext.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kaldora::batch {

namespace {

constexpr std::size_t kReadChunk = std::size_t{256} * 1024;
constexpr std::string_view kStandardInputName = "standardni ulaz";

std::string describe(const std::string& name, int errorNumber)
{
    return name + ": " + std::strerror(errorNumber);
}

} // namespace

std::optional<std::string> InputText::read(std::FILE* stream, const std::string& name,
                                           std::string& error, std::size_t expectedSize)
{
    std::string text;
    text.reserve(expectedSize + kReadChunk);
    std::size_t size = 0;
    int readError = 0;
    for (;;) {
        text.resize(size + kReadChunk);
        const std::size_t got = std::fread(text.data() + size, 1, kReadChunk, stream);
        size += got;
        if (got < kReadChunk) {
            readError = errno;
            break;
        }
    }
    text.resize(size);
    if (std::ferror(stream) != 0) {
        error = "ne moze da se procita " + describe(name, readError);
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> InputText::read(const std::string& path, std::string& error)
{
    if (path.empty() || path == "-") {
        return read(stdin, std::string(kStandardInputName), error);
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "ne moze da se otvori " + describe("\"" + path + "\"", errno);
        return std::nullopt;
    }
    // The size is only a hint: a file that cannot be measured is read all the same.
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(path, sizeError);
    auto text = read(file, "\"" + path + "\"", error, sizeError ? 0 : size);
    // The file was only read, so a failure to close it loses nothing.
    std::fclose(file);
    return text;
}

} // namespace kaldora::batch
