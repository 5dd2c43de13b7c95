// The program's orderly end: a stop signal only notes itself, and the event
// loop then closes the windows once, answering no message; the session
// manager's request to save saves pending edits and quits nothing; whatever
// ends the program, an edit that cannot be saved is written to the error
// output and the exit status says so.

#include "app/endactions.h"
#include "app/orderlyshutdown.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "support/modalwatchdog.h"
#include "support/pricelistfolder.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>

#include <csignal>
#include <cstdio>
#include <functional>

using kaldora::app::OrderlyShutdown;

namespace {

constexpr int kRunLimitMs = 10000;
constexpr int kRunAborted = 99;

} // namespace

class OrderlyShutdownTest : public QObject {
    Q_OBJECT

private slots:
#ifndef Q_OS_WIN
    void stopSignalClosesTheWindowsOnce_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }
    void stopSignalClosesTheWindowsOnce()
    {
        QFETCH(int, signalNumber);
        int closed = 0;
        int saved = 0;
        {
            const OrderlyShutdown shutdown(
                {[&saved] { return ++saved > 0; }, [&closed] { return ++closed > 0; }});
            QVERIFY(shutdown.catchesSignals());
            // Nothing happens inside the handler itself.
            QCOMPARE(std::raise(signalNumber), 0);
            QCOMPARE(closed, 0);
            QVERIFY(!shutdown.stopRequested());
            QTRY_COMPARE(closed, 1);
            QVERIFY(shutdown.stopRequested());
            // Further signals while the program is ending change nothing.
            for (const int again : {SIGTERM, SIGHUP, SIGINT}) {
                QCOMPARE(std::raise(again), 0);
            }
            QTest::qWait(50);
            QCOMPARE(closed, 1);
            QCOMPARE(saved, 0);
            QCOMPARE(shutdown.exitCode(0), 0);
        }
        // Gone after the end has begun, it leaves the stop signals ignored:
        // one still on its way cannot kill the program that ends in order.
        struct sigaction current = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_IGN);
        QCOMPARE(std::raise(signalNumber), 0);
        signal(signalNumber, SIG_DFL);
    }
#endif

    // A price is typed into the price-list window and saved when the
    // session manager asks, and the program goes on. Another is typed, and
    // another program locks the file; then the program ends, by a stop
    // signal or by the session's real end. No message box waits for an answer: the
    // program ends, the error output names the cause and the typed prices,
    // and the exit status says that they were not saved.
    void endWithAnEditThatCannotBeSaved_data()
    {
        QTest::addColumn<bool>("bySignal");
#ifndef Q_OS_WIN
        QTest::newRow("SIGTERM") << true;
#endif
        QTest::newRow("session's end") << false;
    }
    void endWithAnEditThatCannotBeSaved()
    {
        QFETCH(bool, bySignal);
        const kaldora::tests::ModalWatchdog watchdog;
        const kaldora::tests::PriceListFolder folder;
        const QString path = folder.filePath();
        QTemporaryFile errors;
        QVERIFY(errors.open());
        std::FILE* errorOutput = std::fopen(QFile::encodeName(errors.fileName()).constData(), "w");
        QVERIFY(errorOutput != nullptr);

        int code = kRunAborted;
        bool stillRunningAfterCommit = false;
        double savedAtCommit = 0;
        {
            struct Today final : kaldora::platform::Clock {
                std::chrono::sys_days today() const override { return std::chrono::sys_days{}; }
            } clock;
            kaldora::platform::QtMessageBox messages;
            kaldora::main_window::WindowOwner windows({clock, messages, ','},
                                                      kaldora::platform::systemServices(), path);
            const OrderlyShutdown shutdown(
                kaldora::app::endActions(windows, messages, errorOutput));
            auto* form1 = windows.showPriceList();
            auto* price = form1->control<QLineEdit>(QStringLiteral("Text11"));
            price->setText(QStringLiteral("7,5"));

            // Another program with the price list open.
            TestDatabase other(path);
            QTimer::singleShot(0, [&] {
                QGuiApplicationPrivate::instance()->commitData();
                savedAtCommit = other.price("zelenavt").toDouble();
                QTimer::singleShot(20, [&] {
                    stillRunningAfterCommit = windows.priceList() != nullptr && form1->isVisible();
                    price->setText(QStringLiteral("8,25"));
                    QVERIFY(other.exec({QStringLiteral("BEGIN EXCLUSIVE")}));
                    if (bySignal) {
                        QCOMPARE(std::raise(SIGTERM), 0);
                    } else {
                        // What the session's end does on X11: the window
                        // system terminates the application.
                        QCoreApplication::quit();
                    }
                });
            });
            QTimer::singleShot(kRunLimitMs, [] { QCoreApplication::exit(kRunAborted); });
            code = shutdown.exitCode(QCoreApplication::exec());
        }
        signal(SIGTERM, SIG_DFL);
        std::fclose(errorOutput);

        QCOMPARE(savedAtCommit, 7.5);
        QVERIFY(stillRunningAfterCommit);
        QCOMPARE(code, OrderlyShutdown::kExitUnsaved);
        QVERIFY2(watchdog.caught().isEmpty(), qPrintable(watchdog.caught().join(", ")));
        const QString said = QString::fromUtf8(errors.readAll());
        QVERIFY2(said.contains(QStringLiteral("KORISTI DRUGI PROGRAM")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("ZELENA ZONA V.T.: 8,25")), qPrintable(said));
        QCOMPARE(TestDatabase(path).price("zelenavt").toDouble(), 7.5);
    }
};

int runOrderlyShutdownTest(int argc, char** argv)
{
    OrderlyShutdownTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_orderlyshutdown.moc"
