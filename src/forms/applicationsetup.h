#pragma once

#include <QByteArray>
#include <QtGlobal>

class QApplication;

namespace kaldora::forms {

// How the window system draws, chosen before the application object is
// made. On Windows text is drawn with FreeType rather than Qt's default GDI
// engine: the layout's captions and results then take the same width and
// weight as on Linux, and under Wine, where the Windows build is tested, GDI
// ran words together and drew bold text regular. What is tested is what
// ships: the tests' mains call this too. A platform named with options
// (QT_QPA_PLATFORM=windows:...) is left as the user gave it.
inline void choosePlatformOptions()
{
#ifdef Q_OS_WIN
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "windows") {
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
    }
#endif
}

// What the program gives the application before it opens a window: Qt's own
// texts in Serbian Latin (SerbianQtTexts) and the classic light palette, so
// that also the menus, pop-ups and message boxes look as the windows do.
// main() calls it, and so do tests that check what the user sees.
void prepareApplication(QApplication& application);

} // namespace kaldora::forms
