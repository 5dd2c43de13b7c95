#pragma once

#include <source_location>
#include <sstream>
#include <string>
#include <string_view>

namespace kaldora::windows_check {

// A small check harness: it counts the checks, prints each failure with its
// place, and gives the process's exit code.
class Checks {
public:
    bool check(bool ok, std::string_view what,
               std::source_location where = std::source_location::current());

    template <typename A, typename B>
    bool equal(const A& actual, const B& expected, std::string_view what,
               std::source_location where = std::source_location::current())
    {
        if (actual == expected) {
            return check(true, what, where);
        }
        std::ostringstream text;
        text << what << ": got [" << actual << "], expected [" << expected << "]";
        return check(false, text.str(), where);
    }

    // A check that cannot be made on this system, said out loud.
    void skip(std::string_view what);

    // 0 when every check passed, 1 otherwise; prints the totals.
    int finish(std::string_view mode) const;

private:
    int m_passed = 0;
    int m_failed = 0;
    int m_skipped = 0;
};

} // namespace kaldora::windows_check
