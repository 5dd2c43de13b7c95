#pragma once

#include "batch/bytesource.h"

#include <algorithm>
#include <string>

namespace kaldora::batch {

// Gives its text, then fails as a broken disk or a closed pipe would.
class FailingSource final : public ByteSource {
public:
    FailingSource(std::string text, std::string error)
        : m_text(std::move(text))
        , m_error(std::move(error))
    {
    }
    std::size_t read(char* buffer, std::size_t size) override
    {
        const std::size_t n = std::min(size, m_text.size() - m_done);
        std::copy_n(m_text.data() + m_done, n, buffer);
        m_done += n;
        return n;
    }
    std::string error() const override { return m_done == m_text.size() ? m_error : ""; }

private:
    std::string m_text;
    std::string m_error;
    std::size_t m_done = 0;
};

} // namespace kaldora::batch
