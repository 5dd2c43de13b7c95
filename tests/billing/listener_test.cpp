#include "billfixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace kaldora::billing {
namespace {

// A calculation that goes leaves a later one on the same sheet listening, so
// the sheet's line amounts keep following their quantities.
TEST(QuantityListener, SecondCalculationOutlivesTheFirst)
{
    MemorySheet sheet;
    const NumberText numbers(',');
    tests::RecordingMessageBox notice;
    sheet.setText(Field::Text11, "3,10");
    auto first = std::make_unique<Obracun>(sheet, numbers, notice);
    Obracun second(sheet, numbers, notice);
    first.reset();
    sheet.setText(Field::Text3, "200");
    EXPECT_EQ(sheet.text(Field::Text17), "620");
}

} // namespace
} // namespace kaldora::billing
