#include "checks.h"

#include <cstdio>

namespace kaldora::windows_check {

bool Checks::check(bool ok, std::string_view what, std::source_location where)
{
    if (ok) {
        ++m_passed;
        return true;
    }
    ++m_failed;
    std::printf("FAIL %s:%u: %.*s\n", where.file_name(), static_cast<unsigned>(where.line()),
                static_cast<int>(what.size()), what.data());
    return false;
}

void Checks::skip(std::string_view what)
{
    ++m_skipped;
    std::printf("SKIP %.*s\n", static_cast<int>(what.size()), what.data());
}

int Checks::finish(std::string_view mode) const
{
    std::printf("%.*s: %d passed, %d failed, %d skipped\n", static_cast<int>(mode.size()),
                mode.data(), m_passed, m_failed, m_skipped);
    std::fflush(stdout);
    return m_failed == 0 ? 0 : 1;
}

} // namespace kaldora::windows_check
