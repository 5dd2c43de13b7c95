#pragma once

#include "billing/billsheet.h"

#include <array>
#include <optional>
#include <span>

namespace kaldora::billing {

// A bill sheet held in memory: the batch calculator's, and the tests'.
class MemorySheet final : public BillSheet {
public:
    std::string_view text(Field f) const override { return m_texts[fieldIndex(f)]; }
    std::chrono::sys_days date(DateField d) const override { return m_dates[static_cast<int>(d)]; }
    void focus(Field f) override { m_focus = f; }

    void setDate(DateField d, std::chrono::sys_days day) { m_dates[static_cast<int>(d)] = day; }
    std::optional<Field> focused() const { return m_focus; }

    // Empties every text and forgets the focus; the dates stay.
    void clear() { clearExcept({}); }
    // The same, but the texts of `kept` stay as they are.
    void clearExcept(std::span<const Field> kept);

protected:
    void storeText(Field f, std::string_view text) override { m_texts[fieldIndex(f)] = text; }

private:
    std::array<std::string, kFieldCount> m_texts;
    std::array<std::chrono::sys_days, 2> m_dates{};
    std::optional<Field> m_focus;
};

} // namespace kaldora::billing
