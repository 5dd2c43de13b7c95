#pragma once

#include "form2harness.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

namespace kaldora::tests {

// The program's three windows by their names, for tests that go through all
// of them.
inline const QStringList kWindowNames = {QStringLiteral("Form2"), QStringLiteral("Form1"),
                                         QStringLiteral("frmAbout")};

// Adds the column "window" and one row for each of the three windows.
void addWindowRows();

// Shows the window `name` ("Form2", "Form1" or "frmAbout") of the harness's
// program, as its command shows it, and waits until it is active. Null for
// another name or a window that does not become active.
QWidget* openWindow(Form2Harness& h, const QString& name);

// The control `control` of the window `window`, opened as openWindow()
// opens it. Null when either is missing.
QWidget* openControl(Form2Harness& h, const QString& window, const QString& control);

// A Qt Test class over the program's windows: every test runs under a modal
// watchdog, which fails the test instead of letting a message box hang the
// run, and the windows a test closed are gone before the next test starts.
class WindowSuite : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

} // namespace kaldora::tests
