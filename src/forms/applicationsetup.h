#pragma once

class QApplication;

namespace kaldora::forms {

// What the program gives the application before it opens a window: Qt's own
// texts in Serbian Latin (SerbianQtTexts) and the classic light palette, so
// that also the menus, pop-ups and message boxes look as the windows do.
// main() calls it, and so do tests that check what the user sees.
void prepareApplication(QApplication& application);

} // namespace kaldora::forms
