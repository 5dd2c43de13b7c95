// The program's orderly end on SIGTERM, SIGHUP and SIGINT: the signal only
// notes itself, and the event loop then closes the windows once.

#include "app/orderlyshutdown.h"

#include <QTest>

#include <csignal>

using kaldora::app::OrderlyShutdown;

class OrderlyShutdownTest : public QObject {
    Q_OBJECT

private slots:
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
        {
            const OrderlyShutdown shutdown([&closed] { ++closed; });
            QVERIFY(shutdown.catchesSignals());
            // Nothing happens inside the handler itself.
            QCOMPARE(std::raise(signalNumber), 0);
            QCOMPARE(closed, 0);
            QVERIFY(!shutdown.stopRequested());
            QTRY_COMPARE(closed, 1);
            QVERIFY(shutdown.stopRequested());
            // A second signal while the program is ending changes nothing.
            QCOMPARE(std::raise(signalNumber), 0);
            QTest::qWait(50);
            QCOMPARE(closed, 1);
        }
        // Gone, it gives the signals back to their defaults.
        struct sigaction current = {};
        QCOMPARE(::sigaction(signalNumber, nullptr, &current), 0);
        QVERIFY(current.sa_handler == SIG_DFL);
    }
};

int runOrderlyShutdownTest(int argc, char** argv)
{
    OrderlyShutdownTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_orderlyshutdown.moc"
