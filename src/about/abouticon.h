#pragma once

#include <QImage>

namespace kaldora::about {

// The about dialog's 32 x 32 icon: a yellow lightning bolt on a dark blue
// meter dial. Drawn without smoothing, so it uses only colours of the
// 16-colour palette, on a transparent background.
QImage aboutIcon();

inline constexpr int kAboutIconSize = 32;

} // namespace kaldora::about
