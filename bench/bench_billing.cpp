#include "billing/memorysheet.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kaldora::billing {
namespace {

// A bill whose readings always pass the check never shows a message.
class SilentNotice final : public Notice {
public:
    void show(std::string_view /*text*/, std::string_view /*caption*/) override {}
};

struct Readings {
    std::string_view newVt, newMt, oldVt, oldMt;
};

// Thirty-day bills below zone 1, in zone 2, past the full zone 2 and in
// zone 3, and one with decimal readings that leaves a tiny remainder.
constexpr std::array<Readings, 5> kBills = {{
    {"12200", "5100", "12000", "5000"},
    {"12400", "5200", "12000", "5000"},
    {"13200", "5300", "12000", "5000"},
    {"13500", "5500", "12000", "5000"},
    {"1234,5", "500", "1000,2", "400"},
}};

constexpr std::array<std::string_view, 6> kPrices = {"3,10", "1,55", "4,65",
                                                     "2,33", "9,30", "4,65"};

void obracunaj(benchmark::State& state)
{
    MemorySheet sheet;
    const NumberText numbers(',');
    SilentNotice notice;
    Obracun obracun(sheet, numbers, notice);
    for (int row = 0; row < 6; ++row) {
        sheet.setText(kPriceFields[row], kPrices[row]);
    }
    const std::chrono::sys_days today{std::chrono::year{2024} / 3 / 31};
    sheet.setDate(DateField::DTPicker1, today);
    sheet.setDate(DateField::DTPicker2, today - std::chrono::days{30});

    std::size_t next = 0;
    for (auto _ : state) {
        const Readings& r = kBills[next];
        next = next + 1 == kBills.size() ? 0 : next + 1;
        sheet.setText(Field::Text1, r.newVt);
        sheet.setText(Field::Text2, r.newMt);
        sheet.setText(Field::Text4, r.oldVt);
        sheet.setText(Field::Text5, r.oldMt);
        obracun.run();
        benchmark::DoNotOptimize(obracun.values().sapdv);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(obracunaj);

// One meter of the realistic set: readings as a user types them, in the
// sheet's locale, and the days between the two readings.
struct RealisticBill {
    char separator;
    std::string newVt, newMt, oldVt, oldMt;
    int days;
};

// A reading with one decimal in tenths of a kWh, as a text.
std::string readingText(std::uint64_t tenths, char separator)
{
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text.push_back(separator);
        text.push_back(static_cast<char>('0' + tenths % 10));
    }
    return text;
}

// A fixed, seeded set: readings with decimals, consumption below the end of
// zone 1, in zone 2, past the end of zone 2 and right on both limits,
// periods of 28 to 61 days, half with a decimal comma, half with a period.
// mt19937's numbers are the same everywhere; the arithmetic on them is ours.
std::vector<RealisticBill> realisticBills()
{
    constexpr std::size_t kCount = 4096;
    std::mt19937 random(20241207);
    const auto below = [&random](std::uint32_t n) { return random() % n; };
    std::vector<RealisticBill> bills;
    bills.reserve(kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        const int days = 28 + static_cast<int>(below(34));
        // Total consumption in tenths of a kWh, by band.
        std::uint64_t total = 0;
        switch (i % 5) {
        case 0: // below the end of zone 1 (11,66 kWh a day)
            total = below(static_cast<std::uint32_t>(116 * days));
            break;
        case 1: // in zone 2
            total = 117 * days + below(static_cast<std::uint32_t>(415 * days));
            break;
        case 2: // past the end of zone 2 (53,33 kWh a day)
            total = 534 * days + below(static_cast<std::uint32_t>(1000 * days));
            break;
        case 3: // on the end of zone 1
            total = (1166 * static_cast<std::uint64_t>(days) + 5) / 10;
            break;
        default: // on the end of zone 2
            total = (5333 * static_cast<std::uint64_t>(days) + 5) / 10;
            break;
        }
        const std::uint64_t vt = total * (55 + below(31)) / 100;
        const std::uint64_t mt = total - vt;
        const std::uint64_t oldVt = below(1000000);
        const std::uint64_t oldMt = below(400000);
        const char separator = i % 2 == 0 ? ',' : '.';
        bills.push_back({separator, readingText(oldVt + vt, separator),
                         readingText(oldMt + mt, separator), readingText(oldVt, separator),
                         readingText(oldMt, separator), days});
    }
    return bills;
}

constexpr std::array<std::string_view, 6> kPricesPeriod = {"3.10", "1.55", "4.65",
                                                           "2.33", "9.30", "4.65"};

// A sheet and its calculation in one locale, with the prices in place.
struct LocaleBiller {
    explicit LocaleBiller(char separator)
        : numbers(separator)
        , obracun(sheet, numbers, notice)
    {
        const auto& prices = separator == ',' ? kPrices : kPricesPeriod;
        for (std::size_t row = 0; row < prices.size(); ++row) {
            sheet.setText(kPriceFields[row], prices[row]);
        }
    }

    void bill(const RealisticBill& b)
    {
        const std::chrono::sys_days today{std::chrono::year{2024} / 3 / 31};
        sheet.setDate(DateField::DTPicker1, today);
        sheet.setDate(DateField::DTPicker2, today - std::chrono::days{b.days});
        sheet.setText(Field::Text1, b.newVt);
        sheet.setText(Field::Text2, b.newMt);
        sheet.setText(Field::Text4, b.oldVt);
        sheet.setText(Field::Text5, b.oldMt);
        obracun.run();
    }

    MemorySheet sheet;
    NumberText numbers;
    SilentNotice notice;
    Obracun obracun;
};

void obracunaj_realistic(benchmark::State& state)
{
    const std::vector<RealisticBill> bills = realisticBills();
    LocaleBiller comma(',');
    LocaleBiller period('.');
    std::size_t next = 0;
    for (auto _ : state) {
        const RealisticBill& b = bills[next];
        next = next + 1 == bills.size() ? 0 : next + 1;
        LocaleBiller& biller = b.separator == ',' ? comma : period;
        biller.bill(b);
        benchmark::DoNotOptimize(biller.obracun.values().sapdv);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(obracunaj_realistic);

// A sheet that notes every text the calculation writes into it.
class TracingSheet final : public BillSheet {
public:
    std::string_view text(Field f) const override { return m_texts[fieldIndex(f)]; }
    std::chrono::sys_days date(DateField d) const override { return m_dates[static_cast<int>(d)]; }
    void focus(Field) override {}
    void setDate(DateField d, std::chrono::sys_days day) { m_dates[static_cast<int>(d)] = day; }

    std::vector<std::string> written;

protected:
    void storeText(Field f, std::string_view text) override
    {
        m_texts[fieldIndex(f)] = text;
        written.emplace_back(text);
    }

private:
    std::array<std::string, kFieldCount> m_texts;
    std::array<std::chrono::sys_days, 2> m_dates{};
};

// The conversions a bill cannot do without, for the realistic set: every
// number the calculation writes into a field, turned into text once
// (std::to_chars, 15 significant digits), and every text it is given (four
// readings, six prices) turned into a number once (std::from_chars). The
// ratio of obracunaj_realistic to this is the calculation's cost over its
// number conversions.
struct FloorBill {
    std::vector<double> written;
    std::vector<std::string> given;
};

std::vector<FloorBill> floorBills()
{
    std::vector<FloorBill> floor;
    for (const RealisticBill& b : realisticBills()) {
        TracingSheet sheet;
        const NumberText numbers(b.separator);
        const auto& prices = b.separator == ',' ? kPrices : kPricesPeriod;
        const std::array<std::string_view, 4> readings = {b.newVt, b.newMt, b.oldVt, b.oldMt};
        const Field readingFields[] = {Field::Text1, Field::Text2, Field::Text4, Field::Text5};
        FloorBill f;
        for (std::size_t i = 0; i < readings.size(); ++i) {
            sheet.setText(readingFields[i], readings[i]);
            f.given.emplace_back(readings[i]);
        }
        for (std::size_t row = 0; row < prices.size(); ++row) {
            sheet.setText(kPriceFields[row], prices[row]);
            f.given.emplace_back(prices[row]);
        }
        for (std::string& text : f.given) {
            std::replace(text.begin(), text.end(), ',', '.');
        }
        const std::chrono::sys_days today{std::chrono::year{2024} / 3 / 31};
        sheet.setDate(DateField::DTPicker1, today);
        sheet.setDate(DateField::DTPicker2, today - std::chrono::days{b.days});
        sheet.written.clear();
        SilentNotice notice;
        Obracun obracun(sheet, numbers, notice);
        obracun.run();
        for (const std::string& text : sheet.written) {
            f.written.push_back(numbers.parse(text).value_or(0.0));
        }
        floor.push_back(std::move(f));
    }
    return floor;
}

void conversion_floor(benchmark::State& state)
{
    const std::vector<FloorBill> bills = floorBills();
    std::size_t next = 0;
    std::size_t conversions = 0;
    char buffer[64];
    for (auto _ : state) {
        const FloorBill& b = bills[next];
        next = next + 1 == bills.size() ? 0 : next + 1;
        for (const double value : b.written) {
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                              std::chars_format::general, 15);
            benchmark::DoNotOptimize(result.ptr);
        }
        for (const std::string& text : b.given) {
            double value = 0;
            std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
        }
        conversions += b.written.size() + b.given.size();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["conversions_per_bill"] =
        static_cast<double>(conversions) / static_cast<double>(state.iterations());
}
BENCHMARK(conversion_floor);

constexpr std::array<std::string_view, 6> kTexts = {"1242,75", "11509,5",  "0",
                                                    "1,5E3",   " 1234,5 ", "223,695"};
constexpr std::array<double, 6> kValues = {1242.75 * 0.18, 1234.5 - 1000.2, 1e300, 30,
                                           9286.06,        2.0 / 3.0};

void parse(benchmark::State& state)
{
    const NumberText numbers(',');
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers.parse(kTexts[next]));
        next = next + 1 == kTexts.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(parse);

void general(benchmark::State& state)
{
    const NumberText numbers(',');
    std::size_t next = 0;
    for (auto _ : state) {
        const NumberBuffer text = numbers.general(kValues[next]);
        benchmark::DoNotOptimize(text.view().data());
        next = next + 1 == kValues.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(general);

void fixed2(benchmark::State& state)
{
    const NumberText numbers(',');
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers.fixed2(kTexts[next]));
        next = next + 1 == kTexts.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(fixed2);

void whole(benchmark::State& state)
{
    const NumberText numbers(',');
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(numbers.whole(kTexts[next]));
        next = next + 1 == kTexts.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(whole);

} // namespace
} // namespace kaldora::billing

BENCHMARK_MAIN();
