#include "windowsuite.h"

#include "about/frmabout.h"
#include "price_list/form1.h"

#include <QTest>

namespace kaldora::tests {

void addWindowRows()
{
    QTest::addColumn<QString>("window");
    for (const QString& window : kWindowNames) {
        QTest::newRow(qPrintable(window)) << window;
    }
}

QWidget* openWindow(Form2Harness& h, const QString& name)
{
    QWidget* window = nullptr;
    if (name == QLatin1String("Form2")) {
        return h.showAndActivate() ? h.form() : nullptr;
    }
    if (name == QLatin1String("Form1")) {
        window = h.owner().showPriceList();
    } else if (name == QLatin1String("frmAbout")) {
        window = h.owner().showAbout();
    }
    if (window == nullptr || !QTest::qWaitForWindowActive(window)) {
        return nullptr;
    }
    return window;
}

QWidget* openControl(Form2Harness& h, const QString& window, const QString& control)
{
    QWidget* w = openWindow(h, window);
    return w != nullptr ? w->findChild<QWidget*>(control) : nullptr;
}

void WindowSuite::init()
{
    m_watchdog = std::make_unique<ModalWatchdog>();
}

void WindowSuite::cleanup()
{
    QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
    m_watchdog.reset();
    flushDeletions();
}

} // namespace kaldora::tests
