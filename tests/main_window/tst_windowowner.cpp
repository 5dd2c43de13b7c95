// The window owner: one instance per window, a fresh one after unloading, a
// minimised window back on its command, and the end of the application when
// no window is left on screen.

#include "form2harness.h"
#include "support/boundedrun.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

using kaldora::tests::day;
using kaldora::tests::FixedClock;
using kaldora::tests::ModalWatchdog;
using kaldora::tests::RecordingMessageBox;

namespace {

// Ends a nested run of the application that did not end by itself.
constexpr std::chrono::milliseconds kRunLimit{5000};
// When the test closes the other window, after the main window, if the
// application still runs.
constexpr int kOtherWindowCloseMs = 200;

} // namespace

class WindowOwnerTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup()
    {
        QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
        m_watchdog.reset();
        kaldora::tests::flushDeletions();
    }

    void oneMainWindowAtATime()
    {
        FixedClock clock({day(2025, 1, 15)});
        RecordingMessageBox messages;
        kaldora::main_window::WindowOwner windows({clock, messages, ','});
        QPointer<kaldora::main_window::Form2> first = windows.form2();
        QCOMPARE(windows.form2(), first.data());
        QCOMPARE(clock.reads(), 2);
        qobject_cast<QLineEdit*>(first->control("Text1"))->setText("1500");

        first->close();
        kaldora::tests::flushDeletions();
        QVERIFY(first.isNull());
        auto* second = windows.form2();
        QVERIFY(second != nullptr);
        QVERIFY(qobject_cast<QLineEdit*>(second->control("Text1"))->text().isEmpty());
        QCOMPARE(clock.reads(), 4);
    }

    // A window that is loaded but hidden goes with the main window; one on
    // screen stays usable.
    void hiddenWindowsGoWithTheMainWindow()
    {
        FixedClock clock({day(2025, 1, 15)});
        RecordingMessageBox messages;
        kaldora::main_window::WindowOwner windows({clock, messages, ','});
        QPointer<QWidget> hidden = new QWidget;
        QPointer<QWidget> shown = new QWidget;
        windows.adopt(hidden);
        windows.adopt(shown);
        shown->show();
        windows.form2()->show();
        windows.form2()->close();
        kaldora::tests::flushDeletions();
        QVERIFY(hidden.isNull());
        QVERIFY(!shown.isNull());
        QVERIFY(shown->isVisible());
        shown->close();
        kaldora::tests::flushDeletions();
        QVERIFY(shown.isNull());
    }

    void ownerDestroysWhatIsLeft()
    {
        QPointer<QWidget> form;
        QPointer<QWidget> other = new QWidget;
        {
            FixedClock clock({day(2025, 1, 15)});
            RecordingMessageBox messages;
            kaldora::main_window::WindowOwner windows({clock, messages, ','});
            form = windows.form2();
            windows.adopt(other);
        }
        QVERIFY(form.isNull());
        QVERIFY(other.isNull());
    }

    // The menu item of a window the user has minimised brings that very
    // window back, not minimised, in front and with the focus.
    void minimisedWindowComesBackOnItsCommand_data()
    {
        QTest::addColumn<QString>("item");
        QTest::newRow("PROMENI CENOVNIK") << "CEN";
        QTest::newRow("O PROGRAMU") << "TRECE";
    }
    void minimisedWindowComesBackOnItsCommand()
    {
        QFETCH(QString, item);
        kaldora::tests::Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        const auto opened = [&]() -> QWidget* {
            if (item == QLatin1String("CEN")) {
                return h.owner().priceList();
            }
            return h.owner().aboutDialog();
        };
        QAction* command = h.form()->menuItem(item);
        command->trigger();
        QPointer<QWidget> window = opened();
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        h.form()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.form()));

        command->trigger();
        QCOMPARE(opened(), window.data());
        QVERIFY(!window->isMinimized());
        QVERIFY(window->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->close();
    }

    // The application's event loop ends when the main window is closed while
    // another window is loaded but hidden (as the price list is after the
    // start), and not while another window is still on screen.
    void applicationEndsWithTheLastWindowOnScreen_data()
    {
        QTest::addColumn<bool>("otherOnScreen");
        QTest::newRow("other window hidden") << false;
        QTest::newRow("other window on screen") << true;
    }
    void applicationEndsWithTheLastWindowOnScreen()
    {
        QFETCH(bool, otherOnScreen);
        QVERIFY(QApplication::quitOnLastWindowClosed());
        FixedClock clock({day(2025, 1, 15)});
        RecordingMessageBox messages;
        kaldora::main_window::WindowOwner windows({clock, messages, ','});
        QPointer<QWidget> other = new QWidget;
        windows.adopt(other);
        if (otherOnScreen) {
            other->show();
        }
        windows.form2()->show();

        // Timers on the stack: none of them may fire into a later test.
        bool runningAfterMainWindow = false;
        QTimer closeOther;
        closeOther.setSingleShot(true);
        connect(&closeOther, &QTimer::timeout, [&] {
            runningAfterMainWindow = true;
            if (!other.isNull()) {
                other->close();
            }
        });
        // The wait for the other window counts from the moment the main
        // window is closed: closing a window can itself take longer than
        // the wait (Wine without a window manager spends 2 s hiding one),
        // and a wait counted from before the close would be over by the
        // time the application handles its quit.
        QTimer closeMainWindow;
        closeMainWindow.setSingleShot(true);
        connect(&closeMainWindow, &QTimer::timeout, [&] {
            windows.form2()->close();
            closeOther.start(kOtherWindowCloseMs);
        });
        closeMainWindow.start(0);
        QCOMPARE(kaldora::tests::runApplicationWithin(kRunLimit), 0);
        QCOMPARE(runningAfterMainWindow, otherOnScreen);
        kaldora::tests::flushDeletions();
        QVERIFY(other.isNull());
    }

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

int runWindowOwnerTest(int argc, char** argv)
{
    WindowOwnerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowowner.moc"
