#pragma once

#include "billing/billsheet.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kaldora::billing::test {

// A bill sheet that keeps, besides the current texts, every write in the
// order it happened. A line-amount reaction runs inside the write of its
// quantity, so its write shows up right after that quantity's.
class RecordingSheet final : public BillSheet {
public:
    using Write = std::pair<Field, std::string>;

    std::string_view text(Field f) const override { return m_texts[fieldIndex(f)]; }
    std::chrono::sys_days date(DateField d) const override { return m_dates[static_cast<int>(d)]; }
    void focus(Field /*f*/) override {}

    void setDate(DateField d, std::chrono::sys_days day) { m_dates[static_cast<int>(d)] = day; }

    const std::vector<Write>& writes() const { return m_writes; }
    void forgetWrites() { m_writes.clear(); }

    // The texts written into one field, oldest first.
    std::vector<std::string> writesTo(Field f) const
    {
        std::vector<std::string> texts;
        for (const auto& [field, text] : m_writes) {
            if (field == f) {
                texts.push_back(text);
            }
        }
        return texts;
    }

protected:
    void storeText(Field f, std::string_view text) override
    {
        m_texts[fieldIndex(f)] = text;
        m_writes.emplace_back(f, std::string(text));
    }

private:
    std::array<std::string, kFieldCount> m_texts;
    std::array<std::chrono::sys_days, 2> m_dates{};
    std::vector<Write> m_writes;
};

} // namespace kaldora::billing::test
