#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kaldora::batch {

// Where the batch calculator's input comes from, read piece by piece, so
// that an input of any size is billed in a bounded amount of memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads up to `size` bytes into `buffer`. Fewer only at the end of the
    // input or when reading failed; 0 when nothing is left.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;

    // After a short read: why reading failed, or an empty text at the end.
    virtual std::string error() const { return {}; }
};

// A text already in memory, read as an input.
class TextSource final : public ByteSource {
public:
    explicit TextSource(std::string_view text)
        : m_rest(text)
    {
    }

    std::size_t read(char* buffer, std::size_t size) override
    {
        const std::size_t n = std::min(size, m_rest.size());
        if (n > 0) {
            std::memcpy(buffer, m_rest.data(), n);
        }
        m_rest.remove_prefix(n);
        return n;
    }

private:
    std::string_view m_rest;
};

} // namespace kaldora::batch
