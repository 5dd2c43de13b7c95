#pragma once

#include "form2harness.h"

#include <QString>

class QWidget;

namespace kaldora::tests {

// The program's three windows by their names, for tests that go through all
// of them.
inline const QStringList kWindowNames = {QStringLiteral("Form2"), QStringLiteral("Form1"),
                                         QStringLiteral("frmAbout")};

// Shows the window `name` ("Form2", "Form1" or "frmAbout") of the harness's
// program, as its command shows it, and waits until it is active. Null for
// another name or a window that does not become active.
QWidget* openWindow(Form2Harness& h, const QString& name);

} // namespace kaldora::tests
