// The main window with the price list and the about dialog: prices at start,
// "PROMENI CENOVNIK" and applying a price list, "O PROGRAMU".

#include "about/frmabout.h"
#include "fixedclock.h"
#include "form2harness.h"
#include "main_window/form2.h"
#include "main_window/windowowner.h"
#include "price_list/form1.h"
#include "support/modalwatchdog.h"
#include "support/pricelistfolder.h"
#include "support/recordingmessagebox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>

using kaldora::tests::day;
using kaldora::tests::FixedClock;
using kaldora::tests::ModalWatchdog;
using kaldora::tests::PriceListFolder;
using kaldora::tests::RecordingMessageBox;

namespace {

const QStringList kDefaultPrices = {"3,1", "1,55", "4,65", "2,33", "9,3", "4,65"};

QString textOf(QWidget* window, int number)
{
    const QString name = QStringLiteral("Text%1").arg(number);
    QWidget* w = nullptr;
    if (auto* form2 = qobject_cast<kaldora::main_window::Form2*>(window)) {
        w = form2->control(name);
    } else if (auto* form1 = qobject_cast<kaldora::price_list::Form1*>(window)) {
        w = form1->control(name);
    }
    auto* box = qobject_cast<QLineEdit*>(w);
    return box != nullptr ? box->text() : QStringLiteral("<no %1>").arg(name);
}

QStringList pricesOf(QWidget* window)
{
    QStringList prices;
    for (int number = 11; number <= 16; ++number) {
        prices << textOf(window, number);
    }
    return prices;
}

} // namespace

class WindowWiringTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_watchdog = std::make_unique<ModalWatchdog>();
        m_prices.reset(); // the previous folder goes before the next takes its place
        m_prices = std::make_unique<PriceListFolder>();
        QVERIFY(m_prices->isValid());
        m_messages = std::make_unique<RecordingMessageBox>();
    }
    void cleanup()
    {
        m_windows.reset();
        kaldora::tests::flushDeletions();
        QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
        m_watchdog.reset();
    }

    // The first start creates the price list with the default prices and
    // shows them as the price-list window would.
    void startUpTakesTheStoredPrices()
    {
        auto* form2 = start();
        QCOMPARE(pricesOf(form2), kDefaultPrices);
        QVERIFY(QFile::exists(storePath()));
        QVERIFY(m_messages->shown().empty());
        // Nothing is calculated at start.
        QVERIFY(textOf(form2, 17).isEmpty());
        QVERIFY(textOf(form2, 23).isEmpty());
        // No price-list window is left loaded behind the main window.
        QVERIFY(m_windows->priceList() == nullptr);
    }

    // A price list that cannot be read: one message naming the file, empty
    // prices, and the main window still opens.
    void startUpWithABrokenStore()
    {
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is no price list\n");
        file.close();
        auto* form2 = start();
        QCOMPARE(pricesOf(form2), QStringList(6, QString()));
        QCOMPARE(m_messages->shown().size(), std::size_t(1));
        // The path as the system writes it: with backslashes on Windows.
        QVERIFY(QString::fromStdString(m_messages->shown()[0].text)
                    .contains(QDir::toNativeSeparators(storePath())));
    }

    void priceListMenuShowsOneWindow()
    {
        auto* form2 = start();
        form2->menuItem("CEN")->trigger();
        QPointer<kaldora::price_list::Form1> first = m_windows->priceList();
        QVERIFY(first != nullptr);
        QVERIFY(first->isVisible());
        QCOMPARE(pricesOf(first), kDefaultPrices);
        form2->menuItem("CEN")->trigger();
        QCOMPARE(m_windows->priceList(), first.data());
        QCOMPARE(form2->findChildren<kaldora::price_list::Form1*>().size(), 0);
    }

    // Applying hands the edited texts over unchanged, confirms, closes the
    // price-list window, and the next start shows the edit. The line amounts
    // keep the old price until the quantity is written again.
    void applyingCarriesTheTextsOverAndKeepsThem()
    {
        auto* form2 = start();
        form2->sheet().setText(kaldora::billing::Field::Text3, "200");
        QCOMPARE(textOf(form2, 17), QStringLiteral("620"));

        form2->menuItem("CEN")->trigger();
        QPointer<kaldora::price_list::Form1> form1 = m_windows->priceList();
        auto* text11 = qobject_cast<QLineEdit*>(form1->control("Text11"));
        text11->setFocus();
        text11->selectAll();
        QTest::keyClicks(text11, "3,50");
        auto* apply = qobject_cast<QPushButton*>(form1->control("Command1"));
        QTest::mouseClick(apply, Qt::LeftButton);
        kaldora::tests::flushDeletions();

        QVERIFY(form1.isNull());
        QCOMPARE(textOf(form2, 11), QStringLiteral("3,50"));
        QCOMPARE(textOf(form2, 17), QStringLiteral("620"));
        QCOMPARE(m_messages->shown().size(), std::size_t(1));
        QCOMPARE(m_messages->shown()[0].text, std::string("CENOVNIK JE IZMENJEN"));
        QCOMPARE(m_messages->shown()[0].caption, std::string(KALDORA_APP_TITLE));

        // The next start of the program reads the saved edit.
        form2->close();
        m_windows.reset();
        kaldora::tests::flushDeletions();
        QCOMPARE(pricesOf(start()).first(), QStringLiteral("3,5"));
    }

    // Closing the price-list window from its title bar keeps the main
    // window's prices and says nothing; the edit is saved all the same.
    void titleBarCloseTransfersNothing()
    {
        auto* form2 = start();
        form2->menuItem("CEN")->trigger();
        QPointer<kaldora::price_list::Form1> form1 = m_windows->priceList();
        qobject_cast<QLineEdit*>(form1->control("Text16"))->setText("5");
        form1->close();
        kaldora::tests::flushDeletions();
        QVERIFY(form1.isNull());
        QCOMPARE(pricesOf(form2), kDefaultPrices);
        QVERIFY(m_messages->shown().empty());

        form2->menuItem("CEN")->trigger();
        QCOMPARE(textOf(m_windows->priceList(), 16), QStringLiteral("5"));
    }

    // The main window closed while the price list is open: applying saves,
    // confirms and closes, and brings no main window back.
    void applyingAfterTheMainWindowClosed()
    {
        QPointer<kaldora::main_window::Form2> form2 = start();
        form2->menuItem("CEN")->trigger();
        QPointer<kaldora::price_list::Form1> form1 = m_windows->priceList();
        qobject_cast<QLineEdit*>(form1->control("Text12"))->setText("2");
        form2->close();
        kaldora::tests::flushDeletions();
        QVERIFY(form2.isNull());
        QVERIFY(!form1.isNull());

        form1->apply();
        kaldora::tests::flushDeletions();
        QVERIFY(form1.isNull());
        QCOMPARE(m_messages->shown().size(), std::size_t(1));
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(), [](QWidget* w) {
            return qobject_cast<kaldora::main_window::Form2*>(w) != nullptr;
        }));
    }

    void aboutMenuShowsOneDialogLoadedAfresh()
    {
        auto* form2 = start();
        form2->menuItem("TRECE")->trigger();
        QPointer<kaldora::about::frmAbout> first = m_windows->aboutDialog();
        QVERIFY(first != nullptr);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("About " KALDORA_APP_TITLE));
        form2->menuItem("TRECE")->trigger();
        QCOMPARE(m_windows->aboutDialog(), first.data());

        QTest::keyClick(first, Qt::Key_Escape);
        kaldora::tests::flushDeletions();
        QVERIFY(first.isNull());
        form2->menuItem("TRECE")->trigger();
        QVERIFY(m_windows->aboutDialog() != nullptr);
        QVERIFY(m_windows->aboutDialog()->isVisible());
        // The main window stays usable beside the modeless dialog.
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    QString storePath() const { return m_prices->filePath(); }

    kaldora::main_window::Form2* start()
    {
        m_windows = std::make_unique<kaldora::main_window::WindowOwner>(
            kaldora::main_window::Form2::Services{m_clock, *m_messages, ','},
            kaldora::platform::systemServices(), storePath());
        auto* form2 = m_windows->form2();
        form2->show();
        return form2;
    }

    FixedClock m_clock{{day(2025, 1, 15), day(2025, 1, 15), day(2025, 1, 15), day(2025, 1, 15)}};
    std::unique_ptr<ModalWatchdog> m_watchdog;
    std::unique_ptr<PriceListFolder> m_prices;
    std::unique_ptr<RecordingMessageBox> m_messages;
    std::unique_ptr<kaldora::main_window::WindowOwner> m_windows;
};

int runWindowWiringTest(int argc, char** argv)
{
    WindowWiringTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowwiring.moc"
