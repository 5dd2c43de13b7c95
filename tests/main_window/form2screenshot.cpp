// Draws the main window as a user sees it after one calculation and saves the
// picture: form2_screenshot <file.png>. Run it on a real display or Xvfb. It
// runs in a home of its own, so the window shows the default price list and
// the user's own stays untouched.

#include "forms/applicationsetup.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "support/privatehome.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdio>

namespace {

class MarchClock final : public kaldora::platform::Clock {
public:
    std::chrono::sys_days today() const override
    {
        using namespace std::chrono;
        return sys_days(year(2025) / March / 31);
    }
};

void type(kaldora::main_window::Form2* form, int number, const QString& keys)
{
    auto* box = qobject_cast<QLineEdit*>(form->control(QStringLiteral("Text%1").arg(number)));
    box->setFocus();
    QTest::keyClicks(box, keys);
}

} // namespace

int main(int argc, char* argv[])
{
    const kaldora::tests::PrivateHome home;
    kaldora::forms::choosePlatformOptions();
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: form2_screenshot <file.png>\n");
        return 2;
    }
    MarchClock clock;
    kaldora::platform::QtMessageBox messages;
    kaldora::main_window::WindowOwner windows({clock, messages, ','});
    auto* form = windows.form2();
    form->show();
    if (!QTest::qWaitForWindowExposed(form)) {
        std::fprintf(stderr, "the window did not appear\n");
        return 1;
    }
    // The prices are those of the new price list the first start makes, as
    // the window shows them.
    type(form, 1, "1500");
    type(form, 2, "500");
    type(form, 4, "0");
    type(form, 5, "0");
    auto* meter = qobject_cast<QComboBox*>(form->control(QStringLiteral("Combo1")));
    meter->setFocus();
    QTest::keyClick(meter, Qt::Key_Up);
    QTest::mouseClick(form->control(QStringLiteral("Command1")), Qt::LeftButton);
    QTest::qWait(200);

    if (!form->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
