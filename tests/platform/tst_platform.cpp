// The window-system services: the message box, the date conversion and the
// locale's separator.

#include "platform/dateconversion.h"
#include "platform/qtmessagebox.h"
#include "platform/systemlocale.h"
#include "support/modalwatchdog.h"
#include "support/qttestmain.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>

using namespace kaldora::platform;

namespace {

std::chrono::sys_days civil(int y, unsigned m, unsigned d)
{
    return std::chrono::sys_days(std::chrono::year(y) / std::chrono::month(m) /
                                 std::chrono::day(d));
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    // The real box: one OK button, no icon, modal for the whole application,
    // with the caption and text it was given; OK closes it.
    void messageBoxHasOneOkButtonAndNoIcon()
    {
        const kaldora::tests::ModalWatchdog watchdog;
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        Qt::WindowModality modality = Qt::NonModal;
        qsizetype buttons = 0;
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            modality = box->windowModality();
            buttons = box->buttons().size();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QtMessageBox messages;
        messages.show("NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!", "GRESKA");
        QVERIFY(watchdog.caught().isEmpty());
        QCOMPARE(caption, QStringLiteral("GRESKA"));
        QCOMPARE(text, QStringLiteral("NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(buttons, qsizetype(1));
    }

    void messageBoxClosedByEscape()
    {
        const kaldora::tests::ModalWatchdog watchdog;
        QTimer::singleShot(0, qApp, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        QtMessageBox().show("CENOVNIK JE IZMENJEN", "Obracun");
        QVERIFY(watchdog.caught().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void dateConversion_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("epoch") << QDate(1970, 1, 1) << 1970 << 1 << 1;
        QTest::newRow("first picker date") << QDate(1601, 1, 1) << 1601 << 1 << 1;
        QTest::newRow("last picker date") << QDate(9999, 12, 31) << 9999 << 12 << 31;
        QTest::newRow("leap day") << QDate(2024, 2, 29) << 2024 << 2 << 29;
    }
    void dateConversion()
    {
        QFETCH(QDate, date);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        const auto expected = civil(year, unsigned(month), unsigned(day));
        QCOMPARE(toSysDays(date).time_since_epoch().count(), expected.time_since_epoch().count());
        QCOMPARE(toQDate(expected), date);
    }

    // Run with LC_ALL set by the test list; without an expectation the
    // environment is whatever the caller has, and there is nothing to check.
    void decimalSeparatorFollowsTheLocale()
    {
        const QByteArray expected = qgetenv("KALDORA_EXPECTED_SEPARATOR");
        if (expected.isEmpty()) {
            QSKIP("no locale chosen for this run");
        }
        QCOMPARE(systemDecimalSeparator(), expected.at(0));
    }
};

KALDORA_TEST_MAIN(PlatformTest)

#include "tst_platform.moc"
