#include "about/frmaboutlayout.h"

#include "about/abouttexts.h"
#include "forms/layoutentries.h"

namespace kaldora::about {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlKind;
using forms::ControlSpec;
using forms::FontSpec;
using forms::Twips;

// Every control of the dialog is drawn in the default font.
constexpr FontSpec kDialogFont{};

constexpr int kSeparatorPixel = 1;
constexpr int kSeparatorShadowPixels = 2;

constexpr ControlSpec button(const char* name, const char* caption, Twips place, int tab)
{
    return forms::button(name, caption, place, kDialogFont, tab);
}

constexpr ControlSpec picture(const char* name, Twips place, int tab, const char* accessibleName)
{
    return forms::entry(name, ControlKind::Picture, nullptr, place, kDialogFont, Align::Left,
                        Colour::Default, tab, forms::kClientArea, -1, accessibleName);
}

// The labels keep a place in the keyboard order, as they were drawn with one
// for their access keys; the dialog does not let them hold the focus.
constexpr ControlSpec label(const char* name, const char* text, Twips place, int tab)
{
    return forms::entry(name, ControlKind::Label, text, place, kDialogFont, Align::Left,
                        Colour::Default, tab);
}

// lblTitle and lblVersion are filled in when the dialog loads. The two lines
// make an etched separator: a grey line with a broader white one just below
// and to the right of it. The icon, which the keyboard reaches, is read out
// as the program's name; the buttons by their captions.
// clang-format off
constexpr ControlSpec kLayout[] = {
    button("cmdOK", "OK", {4245, 2625, 1260, 345}, 0),
    picture("picIcon", {240, 240, 540, 540}, 1, kProgramName.data()),
    button("cmdSysInfo", "&System Info...", {4260, 3075, 1245, 345}, 2),
    label("lblDescription", kDescription.data(), {1050, 1125, 3885, 1170}, 3),
    label("lblDisclaimer", kDisclaimer.data(), {255, 2625, 3870, 825}, 4),
    label("lblTitle", "", {1050, 240, 3885, 480}, 5),
    label("lblVersion", "", {1050, 780, 3885, 225}, 6),
    forms::line("Line1", 1, {90, 2445}, {5654, 2445}, Colour::Grey, kSeparatorPixel),
    forms::line("Line1", 0, {105, 2460}, {5654, 2460}, Colour::White, kSeparatorShadowPixels),
};
// clang-format on

} // namespace

std::span<const ControlSpec> frmAboutLayout()
{
    return kLayout;
}

} // namespace kaldora::about
