#pragma once

#include "billing/billsheet.h"
#include "billing/notice.h"
#include "billing/numbertext.h"

#include "billing/decimal.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kaldora::billing {

inline constexpr std::string_view kInputErrorMessage =
    "NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!";
inline constexpr std::string_view kInputErrorCaption = "GRESKA";

// The intermediate results of the bill calculation. They belong to the
// owner of the sheet and outlive a run: a step that fails keeps the value
// the previous run left (0 or empty before the first run).
//
// The names are the calculation's own Serbian words:
//   novo / staro       new / previous (reading); vt, mt the high and low tariff
//   novovt ... staromt  the four readings as typed (Text1, Text2, Text4, Text5)
//   novidatum, staridatum  the dates of the new and the previous reading
//   vrstaBrojila, amperaza  meter type and amperage (Combo1, Combo2; unused)
//   dana               days from the previous to the new reading
//   utrosakvt, utrosakmt  consumption per tariff in kWh; ukupno their total
//   procvt, procmt     each tariff's share of the total, in percent
//   iznosi             the six line amounts as read back after rounding
//   energija           the energy amount, the sum of the line amounts
//   bezpdv, sapdv      the total without VAT (bez PDV) and with VAT (sa PDV)
struct WorkingValues {
    std::string novovt, novomt, starovt, staromt;
    std::chrono::sys_days novidatum{}, staridatum{};
    std::string vrstaBrojila, amperaza;
    double dana = 0, utrosakvt = 0, utrosakmt = 0, ukupno = 0, procvt = 0, procmt = 0;
    std::array<double, kPriceRowCount> iznosi{};
    double energija = 0, bezpdv = 0, sapdv = 0;
};

// The OBRACUNAJ command and the six line-amount reactions, working on one
// bill sheet. While it lives it is the sheet's quantity listener, so every
// write of a zone quantity reprices its line.
//
// Every single read, computation and write is a step of its own: a step
// that fails (a text that is not a number, a division by zero, a result that
// overflows) is dropped without a word and the command goes on with the next
// one. The only message is the input error of the reading check.
class Obracun final : public QuantityListener {
public:
    Obracun(BillSheet& sheet, const NumberText& numbers, Notice& notice);
    ~Obracun();
    Obracun(const Obracun&) = delete;
    Obracun& operator=(const Obracun&) = delete;

    // The whole command: readings, zones, charges.
    void run();

    // The three stages, public so that each can be checked on its own.
    bool readInputs();
    void allocateZones();
    void totalCharges();

    // Line-amount reaction: amount = quantity x price, unrounded. A quantity
    // or price that is not a number leaves the amount as it was.
    void quantityChanged(Field quantityField) override;

    const WorkingValues& values() const { return m_values; }

    // Forgets the working values, as a sheet of a new window would have
    // them; the batch calculator starts every meter so.
    void clearValues() { m_values = {}; }

private:
    // The number a field's text reads as, as this calculation last read or
    // wrote it. Reading a number is a pure function of the text, so while
    // the field's revision says the text is the same, the number need not
    // be read again: the prices, and every text the calculation has just
    // written from a number it knows, are read without parsing. Any change
    // from elsewhere changes the revision and is always seen.
    struct KnownNumber {
        enum class State : std::uint8_t {
            Unknown,   // never seen, or changed since
            Written,   // written here from `digits`; not read since
            Number,    // reads as `value`
            NotNumber, // does not read as a number
        };
        State state = State::Unknown;
        bool hasDigits = false; // `digits` are the text's, written here
        std::uint64_t revision = 0;
        double value = 0;
        Decimal digits;
    };

    // Reads a field's number; nullopt makes the calling step fail.
    std::optional<double> number(Field f);
    void writeNumber(Field f, double value);
    // Writes the text of `digits` and notes what it reads as, before the
    // write sets off the field's reaction.
    void writeDigits(Field f, const Decimal& digits, const NumberBuffer& text);
    // Rounding step: the field's number in the whole-number (0) or the
    // two-decimal (2) format; a text that is not a number is written back.
    void roundField(Field f, int decimals);

    BillSheet& m_sheet;
    const NumberText& m_numbers;
    Notice& m_notice;
    WorkingValues m_values;
    std::array<KnownNumber, kFieldCount> m_known;
    // The two fixed charges, taken apart once.
    Decimal m_meteringPointFee;
    Decimal m_billingPowerCharge;
};

} // namespace kaldora::billing
