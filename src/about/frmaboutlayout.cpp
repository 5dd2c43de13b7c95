#include "about/frmaboutlayout.h"

#include "about/abouttexts.h"

namespace kaldora::about {

namespace {

using forms::Align;
using forms::Colour;
using forms::ControlKind;
using forms::ControlSpec;

constexpr int kSeparatorPixel = 1;
constexpr int kSeparatorShadowPixels = 2;

// lblTitle and lblVersion are filled in when the dialog loads. The two lines
// make an etched separator: a grey line with a broader white one just below
// and to the right of it.
constexpr ControlSpec kLayout[] = {
    {"cmdOK",
     ControlKind::Button,
     "OK",
     4245,
     2625,
     1260,
     345,
     {},
     Align::Left,
     Colour::Default,
     0},
    {"picIcon",
     ControlKind::Picture,
     nullptr,
     240,
     240,
     540,
     540,
     {},
     Align::Left,
     Colour::Default,
     1},
    {"cmdSysInfo",
     ControlKind::Button,
     "&System Info...",
     4260,
     3075,
     1245,
     345,
     {},
     Align::Left,
     Colour::Default,
     2},
    {"lblDescription",
     ControlKind::Label,
     kDescription.data(),
     1050,
     1125,
     3885,
     1170,
     {},
     Align::Left,
     Colour::Default,
     3},
    {"lblDisclaimer",
     ControlKind::Label,
     kDisclaimer.data(),
     255,
     2625,
     3870,
     825,
     {},
     Align::Left,
     Colour::Default,
     4},
    {"lblTitle", ControlKind::Label, "", 1050, 240, 3885, 480, {}, Align::Left, Colour::Default, 5},
    {"lblVersion",
     ControlKind::Label,
     "",
     1050,
     780,
     3885,
     225,
     {},
     Align::Left,
     Colour::Default,
     6},
    {"Line1",
     ControlKind::Line,
     nullptr,
     90,
     2445,
     5654,
     2445,
     {},
     Align::Left,
     Colour::Grey,
     -1,
     nullptr,
     1,
     kSeparatorPixel},
    {"Line1",
     ControlKind::Line,
     nullptr,
     105,
     2460,
     5654,
     2460,
     {},
     Align::Left,
     Colour::White,
     -1,
     nullptr,
     0,
     kSeparatorShadowPixels},
};

} // namespace

std::span<const ControlSpec> frmAboutLayout()
{
    return kLayout;
}

} // namespace kaldora::about
