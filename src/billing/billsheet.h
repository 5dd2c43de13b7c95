#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kaldora::billing {

// The named text fields of the bill sheet: the main window's text boxes
// Text1..Text32 and the texts of its two combo boxes.
// clang-format off
enum class Field : std::uint8_t {
    Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
    Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20,
    Text21, Text22, Text23, Text24, Text25, Text26, Text27, Text28, Text29, Text30,
    Text31, Text32, Combo1, Combo2,
};
// clang-format on
inline constexpr int kFieldCount = static_cast<int>(Field::Combo2) + 1;

// Text1 is field 1: the number in a text field's name.
constexpr Field textField(int number)
{
    return static_cast<Field>(number - 1);
}
constexpr int fieldIndex(Field f)
{
    return static_cast<int>(f);
}

// "Text23", "Combo1"; the control names of the main window.
std::string_view fieldName(Field f);

// The two date pickers: DTPicker1 holds the date of the new reading,
// DTPicker2 that of the previous one.
enum class DateField : std::uint8_t { DTPicker1, DTPicker2 };

// The bill's six price rows, always in this order: zone 1 (green) V.T.,
// zone 1 M.T., zone 2 (blue) V.T., zone 2 M.T., zone 3 (red) V.T., zone 3
// M.T. Each row has a quantity, a price and an amount field; what the price
// list and the messages call a row is in pricerows.h.
inline constexpr std::size_t kPriceRowCount = 6;
using RowFields = std::array<Field, kPriceRowCount>;
inline constexpr RowFields kQuantityFields = {Field::Text3, Field::Text6, Field::Text7,
                                              Field::Text8, Field::Text9, Field::Text10};
inline constexpr RowFields kPriceFields = {Field::Text11, Field::Text12, Field::Text13,
                                           Field::Text14, Field::Text15, Field::Text16};
inline constexpr RowFields kAmountFields = {Field::Text17, Field::Text18, Field::Text19,
                                            Field::Text20, Field::Text21, Field::Text22};

// The row (0..5) of a zone-quantity field, or -1 for any other field.
int quantityRow(Field f);

// Told when the text of a zone-quantity field has been written.
class QuantityListener {
public:
    virtual void quantityChanged(Field quantityField) = 0;

protected:
    ~QuantityListener() = default;
};

// The fields on which the bill calculation works, by name. The main window
// is one bill sheet, the batch calculator fills a fresh one per meter.
//
// Writing a zone-quantity field tells the listener before setText returns,
// on every write, also when the text does not change: the line amount must
// follow the current price even when the rounded quantity is the one the
// field already held.
class BillSheet {
public:
    virtual ~BillSheet() = default;

    // The field's text. The view is good until the field is read or
    // written again.
    virtual std::string_view text(Field f) const = 0;
    void setText(Field f, std::string_view text)
    {
        setText(f, text, [] {});
    }
    // Writes the field, calls `written`, then runs the field's reaction: for
    // a writer that notes what it wrote before the reaction reads it.
    template <typename Written> void setText(Field f, std::string_view text, Written&& written)
    {
        storeText(f, text);
        noteChanged(f);
        written();
        notifyQuantityChanged(f);
    }

    // Changes whenever the field's text may have changed, however it was
    // changed. A reader that noted it knows, while it stays the same, that
    // the text is still the one it read.
    std::uint64_t revision(Field f) const
    {
        return m_revisions[static_cast<std::size_t>(fieldIndex(f))];
    }

    virtual std::chrono::sys_days date(DateField d) const = 0;

    // Moves the keyboard focus to a field; a sheet without a window ignores it.
    virtual void focus(Field f) = 0;

    void setQuantityListener(QuantityListener* listener) { m_listener = listener; }
    QuantityListener* quantityListener() const { return m_listener; }

    // For a window whose user has typed into a quantity field.
    void notifyQuantityChanged(Field f);

protected:
    virtual void storeText(Field f, std::string_view text) = 0;

    // For a sheet whose field changed other than through setText: typed
    // into, emptied.
    void noteChanged(Field f) { ++m_revisions[static_cast<std::size_t>(fieldIndex(f))]; }

private:
    QuantityListener* m_listener = nullptr;
    std::array<std::uint64_t, kFieldCount> m_revisions{};
};

} // namespace kaldora::billing
