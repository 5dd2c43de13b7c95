// Fuzz target: the whole OBRACUNAJ command on a bill sheet whose fields hold
// anything at all. Whatever the user has typed anywhere, the command must
// leave every field either as it was or holding a number, must never touch
// the prices, and may change a reading only from empty to "0".
//
// Input, one line each: first "<separator> <new date> <old date>", the dates
// as days since 1970-01-01 (", 19813 19783"); then the texts of Text1 to
// Text32, Combo1 and Combo2. Missing lines leave fields empty. The command
// runs twice on the same sheet, the second time on what the first left, as
// when the user presses OBRACUNAJ again.

#include "fuzzcheck.h"

#include "billing/memorysheet.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace billing = kaldora::billing;
using billing::Field;

namespace {

constexpr int kRuns = 2;
constexpr std::array kReadings = {Field::Text1, Field::Text2, Field::Text4, Field::Text5};

// Shows nothing; remembers what it was asked to show.
class RecordingNotice final : public billing::Notice {
public:
    void show(std::string_view text, std::string_view caption) override
    {
        ++m_count;
        m_text = text;
        m_caption = caption;
    }
    int count() const { return m_count; }
    void forget()
    {
        m_count = 0;
        m_text = m_caption = {};
    }
    std::string_view text() const { return m_text; }
    std::string_view caption() const { return m_caption; }

private:
    int m_count = 0;
    std::string_view m_text;
    std::string_view m_caption;
};

using Texts = std::array<std::string, billing::kFieldCount>;

Texts textsOf(const billing::MemorySheet& sheet)
{
    Texts texts;
    for (int i = 0; i < billing::kFieldCount; ++i) {
        texts[i] = sheet.text(static_cast<Field>(i));
    }
    return texts;
}

bool isOneOf(Field f, const auto& fields)
{
    for (Field g : fields) {
        if (f == g) {
            return true;
        }
    }
    return false;
}

// A field the command rounds last keeps a text that is no number, or holds
// a number with exactly `decimals` decimals.
bool hasDecimals(std::string_view text, char separator, int decimals)
{
    const std::size_t at = text.find(separator);
    if (decimals == 0) {
        return at == std::string_view::npos;
    }
    return at != std::string_view::npos &&
           text.size() - at - 1 == static_cast<std::size_t>(decimals);
}

std::string_view nextLine(std::string_view& rest)
{
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

std::int32_t nextDay(std::string_view& line)
{
    while (!line.empty() && line.front() == ' ') {
        line.remove_prefix(1);
    }
    std::int32_t day = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), day);
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    return ec == std::errc() ? day : 0;
}

void checkRun(const Texts& before, const billing::MemorySheet& sheet,
              const billing::NumberText& numbers, const RecordingNotice& notice,
              const billing::WorkingValues& values)
{
    const char separator = numbers.decimalSeparator();
    bool readingsAreNumbers = true;
    for (Field f : kReadings) {
        readingsAreNumbers = readingsAreNumbers && numbers.parse(before[fieldIndex(f)]);
    }
    FUZZ_CHECK(notice.count() == (readingsAreNumbers ? 0 : 1), "%d messages", notice.count());
    if (!readingsAreNumbers) {
        FUZZ_CHECK(notice.text() == billing::kInputErrorMessage &&
                       notice.caption() == billing::kInputErrorCaption,
                   "the input error shows the wrong text");
        FUZZ_CHECK(sheet.focused() == Field::Text1, "the focus is not on Text1");
    }

    for (int i = 0; i < billing::kFieldCount; ++i) {
        const auto f = static_cast<Field>(i);
        const std::string after(sheet.text(f));
        const std::string& old = before[i];
        const std::string name(billing::fieldName(f));
        if (after == old) {
            continue;
        }
        FUZZ_CHECK(numbers.parse(after).has_value(), "%s: \"%s\" became \"%s\", not a number",
                   name.c_str(), old.c_str(), after.c_str());
        FUZZ_CHECK(!isOneOf(f, billing::kPriceFields), "price %s changed", name.c_str());
        FUZZ_CHECK(f != Field::Combo1 && f != Field::Combo2, "%s changed", name.c_str());
        FUZZ_CHECK(!isOneOf(f, kReadings) || (old.empty() && after == "0"),
                   "reading %s: \"%s\" became \"%s\"", name.c_str(), old.c_str(), after.c_str());
        // Refused readings end the command before anything is computed.
        FUZZ_CHECK(readingsAreNumbers || isOneOf(f, kReadings),
                   "%s changed although the readings were refused", name.c_str());
        if (isOneOf(f, billing::kQuantityFields)) {
            FUZZ_CHECK(hasDecimals(after, separator, 0), "quantity %s is \"%s\"", name.c_str(),
                       after.c_str());
        }
        if (isOneOf(f, billing::kAmountFields) || f == Field::Text27) {
            FUZZ_CHECK(hasDecimals(after, separator, 2), "amount %s is \"%s\"", name.c_str(),
                       after.c_str());
        }
    }
    if (readingsAreNumbers) {
        // The fixed charges are written on every run that gets past the check.
        const std::string fee(sheet.text(Field::Text24));
        const std::string power(sheet.text(Field::Text25));
        FUZZ_CHECK(fee == numbers.general(119.07).view() && power == numbers.general(348.68).view(),
                   "the fixed charges are \"%s\" and \"%s\"", fee.c_str(), power.c_str());
    }
    const double kept[] = {values.dana,     values.utrosakvt, values.utrosakmt,
                           values.ukupno,   values.procvt,    values.procmt,
                           values.energija, values.bezpdv,    values.sapdv};
    for (double value : kept) {
        FUZZ_CHECK(std::isfinite(value), "a working value is %g", value);
    }
    for (double value : values.iznosi) {
        FUZZ_CHECK(std::isfinite(value), "a line amount is %g", value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const billing::NumberText comma(',');
    static const billing::NumberText period('.');

    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string_view first = nextLine(rest);
    const bool usePeriod = !first.empty() && first.front() == '.';
    if (!first.empty()) {
        first.remove_prefix(1);
    }
    const billing::NumberText& numbers = usePeriod ? period : comma;

    billing::MemorySheet sheet;
    using std::chrono::days;
    using std::chrono::sys_days;
    sheet.setDate(billing::DateField::DTPicker1, sys_days(days(nextDay(first))));
    sheet.setDate(billing::DateField::DTPicker2, sys_days(days(nextDay(first))));
    for (int i = 0; i < billing::kFieldCount && !rest.empty(); ++i) {
        sheet.setText(static_cast<Field>(i), nextLine(rest));
    }

    // One command for both runs: its working values outlive a run.
    RecordingNotice notice;
    billing::Obracun obracun(sheet, numbers, notice);
    for (int run = 0; run < kRuns; ++run) {
        const Texts before = textsOf(sheet);
        notice.forget();
        // Away from Text1, so that a refused run must move the focus there.
        sheet.focus(Field::Text32);
        obracun.run();
        checkRun(before, sheet, numbers, notice, obracun.values());
    }
    return 0;
}
