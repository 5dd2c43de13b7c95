#include "billing/memorysheet.h"

#include <array>

namespace kaldora::billing {

void MemorySheet::clearExcept(std::span<const Field> kept)
{
    std::array<bool, kFieldCount> keep{};
    for (const Field f : kept) {
        keep[static_cast<std::size_t>(fieldIndex(f))] = true;
    }
    for (int i = 0; i < kFieldCount; ++i) {
        std::string& text = m_texts[static_cast<std::size_t>(i)];
        if (!text.empty() && !keep[static_cast<std::size_t>(i)]) {
            text.clear();
            noteChanged(static_cast<Field>(i));
        }
    }
    m_focus.reset();
}

} // namespace kaldora::billing
