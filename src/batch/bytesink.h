#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kaldora::batch {

// Where the batch calculator's output goes, written piece by piece: the
// counterpart of ByteSource. A sink that fails keeps the cause, so that the
// run can stop at once and name it.
class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Writes all `size` bytes; false when they could not all be written.
    // The CSV writer hands in whole rows only, so that a sink can take back
    // what a failed write let through.
    virtual bool write(const char* data, std::size_t size) = 0;

    // After a failed write: what went wrong, in the user's words.
    virtual std::string error() const { return {}; }
};

// Output kept in memory.
class TextSink final : public ByteSink {
public:
    bool write(const char* data, std::size_t size) override
    {
        m_text.append(data, size);
        return true;
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace kaldora::batch
