#include "billing/obracun.h"

#include <cmath>

namespace kaldora::billing {

namespace {

// Zone limits in kWh per day of the period. They stand as the tariff gives
// them: 11.66 + 41.66 is 53.32, not 53.33, and 30 days of zone 1 are
// 349.8 kWh, not 350.
constexpr double kZone1EndPerDay = 11.66;
constexpr double kZone2WidthPerDay = 41.66;
constexpr double kZone2EndPerDay = 53.33;

// Fixed charges in dinars, the same for every meter type, amperage and
// length of period.
constexpr double kMeteringPointFee = 119.07;
constexpr double kBillingPowerCharge = 348.68;
constexpr double kVatRate = 0.18;

// A computed value is kept only when it is a finite number; otherwise the
// step has failed and the target keeps what it held.
void assign(double& target, double value)
{
    if (std::isfinite(value)) {
        target = value;
    }
}

// A full zone's share of one tariff, evaluated in this order: share times
// limit, divided by 100, times days.
double fullZone(double days, double share, double limit)
{
    return days * ((share * limit) / 100);
}

} // namespace

Obracun::Obracun(BillSheet& sheet, const NumberText& numbers, Notice& notice)
    : m_sheet(sheet)
    , m_numbers(numbers)
    , m_notice(notice)
    , m_meteringPointFee(toDecimal(kMeteringPointFee))
    , m_billingPowerCharge(toDecimal(kBillingPowerCharge))
{
    m_sheet.setQuantityListener(this);
}

Obracun::~Obracun()
{
    // A calculation attached to the sheet after this one keeps listening.
    if (m_sheet.quantityListener() == this) {
        m_sheet.setQuantityListener(nullptr);
    }
}

std::optional<double> Obracun::number(Field f)
{
    using State = KnownNumber::State;
    KnownNumber& k = m_known[fieldIndex(f)];
    const std::uint64_t revision = m_sheet.revision(f);
    std::optional<double> value;
    if (k.state == State::Unknown || k.revision != revision) {
        k.revision = revision;
        k.hasDigits = false;
        value = m_numbers.parse(m_sheet.text(f));
    } else if (k.state == State::Written) {
        // What the text reads as follows from its digits, or, past the
        // range where that is exact, from the text itself.
        value = NumberText::valueOf(k.digits);
        if (!value) {
            value = m_numbers.parse(m_sheet.text(f));
        }
    } else {
        return k.state == State::Number ? std::optional<double>(k.value) : std::nullopt;
    }
    k.state = value ? State::Number : State::NotNumber;
    k.value = value.value_or(0.0);
    return value;
}

void Obracun::writeDigits(Field f, const Decimal& digits, const NumberBuffer& text)
{
    m_sheet.setText(f, text.view(), [&] {
        KnownNumber& k = m_known[fieldIndex(f)];
        k.state = KnownNumber::State::Written;
        k.revision = m_sheet.revision(f);
        k.hasDigits = true;
        k.digits = digits;
    });
}

void Obracun::writeNumber(Field f, double value)
{
    if (std::isfinite(value)) {
        const Decimal digits = toDecimal(value);
        writeDigits(f, digits, m_numbers.general(digits));
    }
}

void Obracun::roundField(Field f, int decimals)
{
    const auto value = number(f);
    if (!value) {
        // The text stays as it is, and is written all the same: the write
        // of a quantity reprices its line.
        const std::string text(m_sheet.text(f));
        m_sheet.setText(f, text);
        return;
    }
    const KnownNumber& k = m_known[fieldIndex(f)];
    Decimal digits = k.hasDigits ? k.digits : toDecimal(*value);
    const NumberBuffer text = m_numbers.rounded(digits, decimals);
    writeDigits(f, digits, text);
}

void Obracun::run()
{
    if (!readInputs()) {
        return;
    }
    allocateZones();
    totalCharges();
}

bool Obracun::readInputs()
{
    WorkingValues& v = m_values;
    v.novovt.assign(m_sheet.text(Field::Text1));
    v.novomt.assign(m_sheet.text(Field::Text2));
    v.novidatum = m_sheet.date(DateField::DTPicker1);
    v.starovt.assign(m_sheet.text(Field::Text4));
    v.staromt.assign(m_sheet.text(Field::Text5));
    v.staridatum = m_sheet.date(DateField::DTPicker2);
    // Read like the rest of the sheet, but no result depends on them.
    v.vrstaBrojila.assign(m_sheet.text(Field::Combo1));
    v.amperaza.assign(m_sheet.text(Field::Combo2));

    v.dana = static_cast<double>((v.novidatum - v.staridatum).count());

    const auto novoVt = m_numbers.parse(v.novovt);
    const auto novoMt = m_numbers.parse(v.novomt);
    const auto staroVt = m_numbers.parse(v.starovt);
    const auto staroMt = m_numbers.parse(v.staromt);
    if (!novoVt || !novoMt || !staroVt || !staroMt) {
        m_notice.show(kInputErrorMessage, kInputErrorCaption);
        m_sheet.focus(Field::Text1);
        // Only a reading that was empty becomes "0"; whatever the user typed
        // stays for them to correct, blanks included.
        const std::pair<Field, const std::string*> readings[] = {{Field::Text1, &v.novovt},
                                                                 {Field::Text2, &v.novomt},
                                                                 {Field::Text4, &v.starovt},
                                                                 {Field::Text5, &v.staromt}};
        for (const auto& [field, read] : readings) {
            if (read->empty()) {
                m_sheet.setText(field, "0");
            }
        }
        return false;
    }

    assign(v.utrosakvt, *novoVt - *staroVt);
    assign(v.utrosakmt, *novoMt - *staroMt);
    assign(v.ukupno, v.utrosakvt + v.utrosakmt);
    // Equal readings give a total of 0: both shares keep their old values,
    // and the zone allocation then takes no branch that uses them.
    if (v.ukupno != 0) {
        assign(v.procvt, (100 * v.utrosakvt) / v.ukupno);
        assign(v.procmt, (100 * v.utrosakmt) / v.ukupno);
    }

    writeNumber(Field::Text29, v.utrosakvt);
    writeNumber(Field::Text30, v.utrosakmt);
    writeNumber(Field::Text31, v.ukupno);
    writeNumber(Field::Text32, v.dana);
    return true;
}

void Obracun::allocateZones()
{
    const WorkingValues& v = m_values;
    // Strict comparisons: a total exactly on a limit does not fill the zone.
    const bool zone1Full = v.ukupno > kZone1EndPerDay * v.dana;
    const bool zone2Full = v.ukupno > kZone2EndPerDay * v.dana;

    if (zone1Full) {
        writeNumber(Field::Text3, fullZone(v.dana, v.procvt, kZone1EndPerDay));
        writeNumber(Field::Text6, fullZone(v.dana, v.procmt, kZone1EndPerDay));
    } else {
        writeNumber(Field::Text3, v.utrosakvt);
        writeNumber(Field::Text6, v.utrosakmt);
    }

    // The remainders read back the texts just written, so a field that kept
    // an earlier text after a failed write feeds that text in.
    if (zone2Full) {
        writeNumber(Field::Text7, fullZone(v.dana, v.procvt, kZone2WidthPerDay));
        writeNumber(Field::Text8, fullZone(v.dana, v.procmt, kZone2WidthPerDay));
        if (const auto z2 = number(Field::Text7)) {
            if (const auto z1 = number(Field::Text3)) {
                writeNumber(Field::Text9, (v.utrosakvt - *z2) - *z1);
            }
        }
        if (const auto z2 = number(Field::Text8)) {
            if (const auto z1 = number(Field::Text6)) {
                writeNumber(Field::Text10, (v.utrosakmt - *z2) - *z1);
            }
        }
    } else {
        if (const auto z1 = number(Field::Text3)) {
            writeNumber(Field::Text7, v.utrosakvt - *z1);
        }
        if (const auto z1 = number(Field::Text6)) {
            writeNumber(Field::Text8, v.utrosakmt - *z1);
        }
        m_sheet.setText(Field::Text9, "0");
        m_sheet.setText(Field::Text10, "0");
    }

    // Each zone is rounded to whole kWh on its own, so the rounded zones may
    // add up to a few kWh more or less than the total. Every write reprices
    // its line from the rounded quantity.
    for (Field f : kQuantityFields) {
        roundField(f, 0);
    }
}

void Obracun::totalCharges()
{
    WorkingValues& v = m_values;
    for (Field f : kAmountFields) {
        roundField(f, 2);
    }
    // An amount that does not read back as a number keeps the previous
    // run's entry, and that entry is added into the energy amount.
    for (std::size_t row = 0; row < kPriceRowCount; ++row) {
        if (const auto amount = number(kAmountFields[row])) {
            v.iznosi[row] = *amount;
        }
    }

    writeDigits(Field::Text24, m_meteringPointFee, m_numbers.general(m_meteringPointFee));
    writeDigits(Field::Text25, m_billingPowerCharge, m_numbers.general(m_billingPowerCharge));

    double sum = 0;
    for (double amount : v.iznosi) {
        sum += amount;
    }
    assign(v.energija, sum);
    writeNumber(Field::Text23, v.energija);

    // The fixed charges are added to each other first, then the energy;
    // the texts of Text24 and Text25 are not read back.
    assign(v.bezpdv, (kMeteringPointFee + kBillingPowerCharge) + v.energija);
    writeNumber(Field::Text26, v.bezpdv);

    // The VAT is written, then rounded as shown; the total with VAT adds the
    // rounded VAT to the unrounded total without it.
    writeNumber(Field::Text27, v.bezpdv * kVatRate);
    roundField(Field::Text27, 2);
    if (const auto vat = number(Field::Text27)) {
        assign(v.sapdv, *vat + v.bezpdv);
    }
    writeNumber(Field::Text28, v.sapdv);
}

void Obracun::quantityChanged(Field quantityField)
{
    const int row = quantityRow(quantityField);
    if (row < 0) {
        return;
    }
    const auto quantity = number(quantityField);
    if (!quantity) {
        return;
    }
    const auto price = number(kPriceFields[row]);
    if (!price) {
        return;
    }
    writeNumber(kAmountFields[row], *quantity * *price);
}

} // namespace kaldora::billing
