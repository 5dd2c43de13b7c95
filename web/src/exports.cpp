// The calculation's door to the page's script. The script hands texts in
// through buffers it writes UTF-8 into, calls a function, and reads the
// answer as a pointer and a length (a text may hold any byte, a zero
// included). Every function leaves its text answer where kaldora_length()
// tells its size; the answer is good until the next call.

#include "webbiller.h"

#include "billing/pricerows.h"

#include <emscripten/emscripten.h>

#include <array>
#include <memory>
#include <string>

namespace {

using kaldora::billing::kPriceRowCount;
using kaldora::billing::NumberText;
using kaldora::web::BillInputs;
using kaldora::web::CalendarDate;
using kaldora::web::WebBiller;

// The input buffers: the four readings, then the six prices.
enum Slot : int { NovoVt, NovoMt, StaroVt, StaroMt, FirstPrice };
constexpr int kSlotCount = FirstPrice + static_cast<int>(kPriceRowCount);
// Text1 .. Text32; the sheet's other fields are the combo boxes' texts.
constexpr int kTextFieldCount = 32;

std::array<std::string, kSlotCount> g_inputs;
std::unique_ptr<WebBiller> g_biller;
std::string g_answer;
std::size_t g_length = 0;

const char* answer(std::string_view text)
{
    g_answer = text;
    g_length = g_answer.size();
    return g_answer.c_str();
}

bool validRow(int row)
{
    return row >= 0 && row < static_cast<int>(kPriceRowCount);
}

// The page names a decimal separator by its character code: ',' or '.'.
char separatorOf(int code)
{
    return code == ',' ? ',' : '.';
}

WebBiller& biller(int separator)
{
    const char c = separatorOf(separator);
    if (!g_biller || g_biller->numbers().decimalSeparator() != c) {
        g_biller = std::make_unique<WebBiller>(c);
    }
    return *g_biller;
}

} // namespace

extern "C" {

// A buffer of `length` bytes for input `slot`, for the script to fill.
EMSCRIPTEN_KEEPALIVE char* kaldora_input(int slot, int length)
{
    if (slot < 0 || slot >= kSlotCount || length < 0) {
        return nullptr;
    }
    std::string& text = g_inputs[static_cast<std::size_t>(slot)];
    text.assign(static_cast<std::size_t>(length), '\0');
    return text.data();
}

EMSCRIPTEN_KEEPALIVE std::size_t kaldora_length()
{
    return g_length;
}

// Bills the inputs; returns the message to show, an empty text when the
// sheet holds the bill.
EMSCRIPTEN_KEEPALIVE const char* kaldora_bill(int separator, int year1, int month1, int day1,
                                              int year2, int month2, int day2)
{
    BillInputs inputs{g_inputs[NovoVt],
                      g_inputs[NovoMt],
                      g_inputs[StaroVt],
                      g_inputs[StaroMt],
                      {},
                      CalendarDate{year1, month1, day1},
                      CalendarDate{year2, month2, day2}};
    for (std::size_t row = 0; row < kPriceRowCount; ++row) {
        inputs.prices[row] = g_inputs[FirstPrice + row];
    }
    return answer(biller(separator).bill(inputs));
}

// The text of Text1 .. Text32 after the last bill; a null answer when the
// last bill was refused before the calculation ran.
EMSCRIPTEN_KEEPALIVE const char* kaldora_text(int number)
{
    if (!g_biller || g_biller->sheet() == nullptr || number < 1 || number > kTextFieldCount) {
        return nullptr;
    }
    return answer(g_biller->sheet()->text(kaldora::billing::textField(number)));
}

// The id of the control to focus after the last bill's message, or "".
EMSCRIPTEN_KEEPALIVE const char* kaldora_focus()
{
    return answer(g_biller ? g_biller->focusTarget() : std::string_view());
}

// The price of `row` as its input holds it, read with one separator and
// written as general number text with another: how the price list is
// stored ('.') and shown (the locale's). A null answer when the text is no
// number.
EMSCRIPTEN_KEEPALIVE const char* kaldora_price(int row, int fromSeparator, int toSeparator)
{
    if (!validRow(row)) {
        return nullptr;
    }
    const NumberText from(separatorOf(fromSeparator));
    const auto value = from.parse(g_inputs[FirstPrice + static_cast<std::size_t>(row)]);
    if (!value) {
        return nullptr;
    }
    const NumberText to(separatorOf(toSeparator));
    return answer(to.general(*value).view());
}

// The price a new price list starts with, in general number text.
EMSCRIPTEN_KEEPALIVE const char* kaldora_default_price(int row, int separator)
{
    if (!validRow(row)) {
        return nullptr;
    }
    const NumberText numbers(separatorOf(separator));
    return answer(numbers.general(kaldora::billing::kPriceRows[row].defaultPrice).view());
}

// What a message calls the price of `row`: "ZELENA ZONA V.T.".
EMSCRIPTEN_KEEPALIVE const char* kaldora_price_name(int row)
{
    return validRow(row) ? answer(kaldora::billing::kPriceRows[row].name) : nullptr;
}

} // extern "C"
