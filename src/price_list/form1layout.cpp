#include "price_list/form1layout.h"

#include "forms/layoutentries.h"

namespace kaldora::price_list {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlSpec;
using forms::FontSpec;

constexpr FontSpec kCaptionFont{13.5, true};
constexpr FontSpec kPriceFont{12.0, true};
constexpr FontSpec kButtonFont{8.25, false};

constexpr int kLabelLeft = 7080;
constexpr int kLabelWidth = 1455;
constexpr int kFieldLeft = 8760;
constexpr int kFieldWidth = 1935;
constexpr int kRowHeight = 495;

// The column header and the row labels are shaded, as in the main window.
constexpr ControlSpec header(const char* name, const char* caption)
{
    return forms::label(name, caption, {kFieldLeft, 0, kFieldWidth, kRowHeight}, kCaptionFont,
                        Align::Center, Colour::ActiveBorder);
}

// Each row label captions the one price of its row.
constexpr ControlSpec rowLabel(const char* name, const char* caption, int top, const char* box)
{
    return forms::caption(name, -1, caption, {kLabelLeft, top, kLabelWidth, kRowHeight},
                          kCaptionFont, Align::Center, Colour::ActiveBorder, forms::kClientArea,
                          box);
}

// A price is named as in the main window's grid: zone, tariff and header.
constexpr ControlSpec priceBox(const char* name, int top, Colour zone, int tab,
                               const char* accessibleName)
{
    return forms::textBox(name, {kFieldLeft, top, kFieldWidth, kRowHeight}, kPriceFont, zone, tab,
                          forms::kClientArea, accessibleName);
}

// The price column of the main window's grid, with the same names, so that
// one number names one price in both windows.
// clang-format off
constexpr ControlSpec kControls[] = {
    header("Label16", "Din/kWh"),
    rowLabel("Label9", "V.T:", 600, "Text11"),
    rowLabel("Label10", "M.T:", 1200, "Text12"),
    rowLabel("Label11", "V.T:", 1920, "Text13"),
    rowLabel("Label12", "M.T:", 2520, "Text14"),
    rowLabel("Label13", "V.T:", 3240, "Text15"),
    rowLabel("Label14", "M.T:", 3840, "Text16"),
    priceBox("Text11", 600, Colour::Green, 0, "ZONA 1 V.T. Din/kWh"),
    priceBox("Text12", 1200, Colour::Green, 1, "ZONA 1 M.T. Din/kWh"),
    priceBox("Text13", 1920, Colour::Blue, 2, "ZONA 2 V.T. Din/kWh"),
    priceBox("Text14", 2520, Colour::Blue, 3, "ZONA 2 M.T. Din/kWh"),
    priceBox("Text15", 3240, Colour::Red, 4, "ZONA 3 V.T. Din/kWh"),
    priceBox("Text16", 3840, Colour::Red, 5, "ZONA 3 M.T. Din/kWh"),
    forms::button("Command1", "PROMENI CENOVNIK", {960, 1680, 3855, 1095}, kButtonFont, 6),
};
// clang-format on

constexpr DataControlSpec kAdodc1{"Adodc1", "Adodc1", 840, 4440, 3615, 735, kButtonFont};

} // namespace

std::span<const ControlSpec> Form1Layout::controls()
{
    return kControls;
}

const DataControlSpec& Form1Layout::dataControl()
{
    return kAdodc1;
}

} // namespace kaldora::price_list
