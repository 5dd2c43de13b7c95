#include "batch/inputcolumns.h"

namespace kaldora::batch {

namespace {

constexpr std::array<std::string_view, kInputColumnCount> kNames = {
    "novo_vt", "novo_mt", "staro_vt", "staro_mt", "datum", "prethodni_datum", "id",
};

// Every column but the meter label must be present.
bool isRequired(std::size_t column)
{
    return column != static_cast<std::size_t>(InputColumn::Id);
}

// A header written by hand often has a blank after the separator.
std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string_view InputColumns::name(InputColumn column)
{
    return kNames[static_cast<std::size_t>(column)];
}

std::optional<InputColumns> InputColumns::fromHeader(const std::vector<std::string_view>& header,
                                                     std::string& error)
{
    InputColumns columns;
    columns.m_positions.fill(kAbsent);
    columns.m_fieldCount = header.size();

    for (std::size_t position = 0; position < header.size(); ++position) {
        const std::string_view name = trimmed(header[position]);
        for (std::size_t column = 0; column < kInputColumnCount; ++column) {
            if (name != kNames[column]) {
                continue;
            }
            if (columns.m_positions[column] != kAbsent) {
                error = "kolona \"" + std::string(name) + "\" se u zaglavlju javlja dva puta";
                return std::nullopt;
            }
            columns.m_positions[column] = position;
        }
    }

    std::string missing;
    int missingCount = 0;
    for (std::size_t column = 0; column < kInputColumnCount; ++column) {
        if (isRequired(column) && columns.m_positions[column] == kAbsent) {
            missing += missingCount == 0 ? "" : ", ";
            missing += kNames[column];
            ++missingCount;
        }
    }
    if (missingCount > 0) {
        error =
            (missingCount == 1 ? "zaglavlju nedostaje kolona " : "zaglavlju nedostaju kolone ") +
            missing;
        return std::nullopt;
    }
    return columns;
}

} // namespace kaldora::batch
