#include "billing/memorysheet.h"

namespace kaldora::billing {

void MemorySheet::clear()
{
    for (auto& t : m_texts) {
        t.clear();
    }
    m_focus.reset();
}

} // namespace kaldora::billing
