#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldora::batch {

// The input columns the calculator reads, and the optional meter label.
enum class InputColumn : std::uint8_t {
    NovoVt,
    NovoMt,
    StaroVt,
    StaroMt,
    Datum,
    PrethodniDatum,
    Id,
};
inline constexpr std::size_t kInputColumnCount = static_cast<std::size_t>(InputColumn::Id) + 1;

// Where each input column stands in a record, found once from the header so
// that the row loop reads fields by position. Columns may come in any order;
// names the calculator does not know are carried along unread.
class InputColumns {
public:
    // nullopt and a message naming every missing column, or a column that
    // appears twice (which of the two would be meant cannot be known).
    static std::optional<InputColumns> fromHeader(const std::vector<std::string_view>& header,
                                                  std::string& error);

    static std::string_view name(InputColumn column);

    std::size_t position(InputColumn column) const
    {
        return m_positions[static_cast<std::size_t>(column)];
    }
    bool hasId() const { return m_positions[static_cast<std::size_t>(InputColumn::Id)] != kAbsent; }

    // The number of fields every record must have: that of the header.
    std::size_t fieldCount() const { return m_fieldCount; }

private:
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

    std::array<std::size_t, kInputColumnCount> m_positions{};
    std::size_t m_fieldCount = 0;
};

} // namespace kaldora::batch
