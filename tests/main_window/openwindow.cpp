#include "openwindow.h"

#include "about/frmabout.h"
#include "price_list/form1.h"

#include <QTest>

namespace kaldora::tests {

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

} // namespace kaldora::tests
