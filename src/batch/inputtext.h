#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>

namespace kaldora::batch {

// Reads the whole input, a file or standard input, into memory. The rows
// are billed from this one buffer: a hundred thousand meters take a few
// megabytes, and no row needs a read or an allocation of its own.
class InputText {
public:
    // An empty path or "-" reads standard input. nullopt and a message
    // naming the file and the system's reason when it cannot be read.
    static std::optional<std::string> read(const std::string& path, std::string& error);

    // Reads an open stream to its end; `expectedSize` only saves copying
    // when the text grows.
    static std::optional<std::string> read(std::FILE* stream, const std::string& name,
                                           std::string& error, std::size_t expectedSize = 0);
};

} // namespace kaldora::batch
