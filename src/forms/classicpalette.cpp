#include "forms/classicpalette.h"

#include <QWidget>

namespace kaldora::forms {

namespace {

// The colours of a light desktop: the grey of dialogs and buttons, its
// lighter and darker shades for bevels, and the selection blue.
constexpr QRgb kDialogGrey = 0xefefef;
constexpr QRgb kWhite = 0xffffff;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kMidlight = 0xcacaca;
constexpr QRgb kMid = 0xb8b8b8;
constexpr QRgb kDark = 0x9f9f9f;
constexpr QRgb kShadow = 0x767676;
constexpr QRgb kHighlight = 0x308cc6;
constexpr QRgb kAlternateBase = 0xf7f7f7;
constexpr QRgb kToolTipBase = 0xffffdc;
constexpr QRgb kLink = 0x0000ff;
constexpr QRgb kLinkVisited = 0xff00ff;
// Placeholder text is black at half strength.
constexpr int kPlaceholderAlpha = 128;

// What a disabled control shows instead.
constexpr QRgb kDisabledText = 0xbebebe;
constexpr QRgb kDisabledShadow = 0xb1b1b1;
constexpr QRgb kDisabledHighlight = 0x919191;

} // namespace

QPalette classicPalette()
{
    // Every role of every group is set, so nothing of the desktop's palette
    // shows through where the palette is resolved against it.
    QPalette p;
    const auto all = [&p](QPalette::ColorRole role, const QColor& colour) {
        for (const QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, role, colour);
        }
    };
    all(QPalette::Window, QColor(kDialogGrey));
    all(QPalette::WindowText, QColor(kBlack));
    all(QPalette::Base, QColor(kWhite));
    all(QPalette::AlternateBase, QColor(kAlternateBase));
    all(QPalette::ToolTipBase, QColor(kToolTipBase));
    all(QPalette::ToolTipText, QColor(kBlack));
    QColor placeholder(kBlack);
    placeholder.setAlpha(kPlaceholderAlpha);
    all(QPalette::PlaceholderText, placeholder);
    all(QPalette::Text, QColor(kBlack));
    all(QPalette::Button, QColor(kDialogGrey));
    all(QPalette::ButtonText, QColor(kBlack));
    all(QPalette::BrightText, QColor(kWhite));
    all(QPalette::Light, QColor(kWhite));
    all(QPalette::Midlight, QColor(kMidlight));
    all(QPalette::Mid, QColor(kMid));
    all(QPalette::Dark, QColor(kDark));
    all(QPalette::Shadow, QColor(kShadow));
    all(QPalette::Highlight, QColor(kHighlight));
    all(QPalette::HighlightedText, QColor(kWhite));
    all(QPalette::Link, QColor(kLink));
    all(QPalette::LinkVisited, QColor(kLinkVisited));

    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(kDisabledText));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(kDisabledText));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(kDisabledText));
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(kDialogGrey));
    p.setColor(QPalette::Disabled, QPalette::Dark, QColor(kDisabledText));
    p.setColor(QPalette::Disabled, QPalette::Shadow, QColor(kDisabledShadow));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(kDisabledHighlight));
    return p;
}

void useClassicPalette(QWidget* window)
{
    window->setPalette(classicPalette());
}

} // namespace kaldora::forms
