#include "form2harness.h"

#include "platform/osservices.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kaldora::tests {

void flushDeletions()
{
    // Destroying one window may close others, which post their own deletion.
    constexpr int kRounds = 3;
    for (int i = 0; i < kRounds; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

Form2Harness::Form2Harness(std::chrono::sys_days today, char decimalSeparator)
    : m_separator(decimalSeparator)
    , m_clock({today})
    , m_windows(std::make_unique<main_window::WindowOwner>(
          main_window::Form2::Services{m_clock, m_messages, decimalSeparator},
          platform::systemServices(), m_prices.filePath()))
    , m_form(m_windows->form2())
{
}

Form2Harness::~Form2Harness()
{
    m_windows.reset();
    flushDeletions();
}

bool Form2Harness::showAndActivate()
{
    m_form->show();
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form);
}

QLineEdit* Form2Harness::text(int number) const
{
    return qobject_cast<QLineEdit*>(m_form->control(QStringLiteral("Text%1").arg(number)));
}

QWidget* Form2Harness::control(const char* name) const
{
    return m_form->control(QString::fromLatin1(name));
}

void Form2Harness::type(int textNumber, const QString& keys)
{
    QLineEdit* box = text(textNumber);
    box->setFocus(Qt::TabFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, keys);
}

void Form2Harness::typeExamplePrices()
{
    const QStringList prices = {"3,10", "1,55", "4,65", "2,33", "9,30", "4,65"};
    for (int i = 0; i < prices.size(); ++i) {
        QString price = prices[i];
        type(11 + i, price.replace(QLatin1Char(','), QLatin1Char(m_separator)));
    }
}

void Form2Harness::typeReadings(const QString& newVt, const QString& newMt, const QString& oldVt,
                                const QString& oldMt)
{
    type(1, newVt);
    type(2, newMt);
    type(4, oldVt);
    type(5, oldMt);
}

void Form2Harness::clickObracunaj()
{
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
}

} // namespace kaldora::tests
