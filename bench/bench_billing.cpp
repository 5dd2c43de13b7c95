#include "billing/memorysheet.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <string_view>

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
