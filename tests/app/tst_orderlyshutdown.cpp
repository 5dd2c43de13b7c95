// The program's orderly end: a stop signal only notes itself, and the event
// loop then closes the windows once, answering no message; the session
// manager's request to save saves pending edits and quits nothing, and
// never answers an edit that cannot be saved as saved; whatever ends the
// program, such an edit is written to the error output once and the exit
// status says so.

#include "app/endactions.h"
#include "app/orderlyshutdown.h"
#include "main_window/windowowner.h"
#include "platform/qtmessagebox.h"
#include "platform/sessionendhold.h"
#include "support/boundedrun.h"
#include "support/modalwatchdog.h"
#include "support/pricelistfolder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/private/qsessionmanager_p.h>
#include <qpa/qplatformsessionmanager.h>

#include <csignal>
#include <cstdio>
#include <functional>

using kaldora::app::OrderlyShutdown;

namespace {

constexpr std::chrono::milliseconds kRunLimit{10000};

// How much the played session manager lets the program speak to the user.
enum class Interaction { None, ErrorsOnly, Any };

// The session manager as the test plays it, in the place of the
// platform's own while it lives: it allows the user to be asked or not,
// and notes what the program answers it.
class PlayedSessionManager final : public QPlatformSessionManager {
public:
    explicit PlayedSessionManager(Interaction allowed)
        : QPlatformSessionManager({}, {})
        , m_allowed(allowed)
        , m_manager(static_cast<QSessionManagerPrivate*>(
              QObjectPrivate::get(QGuiApplicationPrivate::instance()->session_manager)))
        , m_platforms(m_manager->platformSessionManager)
    {
        m_manager->platformSessionManager = this;
    }
    ~PlayedSessionManager() override { m_manager->platformSessionManager = m_platforms; }
    PlayedSessionManager(const PlayedSessionManager&) = delete;
    PlayedSessionManager& operator=(const PlayedSessionManager&) = delete;

    bool allowsInteraction() override { return m_allowed == Interaction::Any; }
    bool allowsErrorInteraction() override { return m_allowed != Interaction::None; }
    void release() override { answers << QStringLiteral("release"); }
    void cancel() override { answers << QStringLiteral("cancel"); }

    QStringList answers;

private:
    Interaction m_allowed;
    QSessionManagerPrivate* m_manager;
    QPlatformSessionManager* m_platforms;
};

} // namespace

// Notes how the session's end is held: the reason while it is held, and
// every hold and release.
struct NotedHold final : kaldora::platform::SessionEndHold {
    void hold(std::string_view why) override
    {
        reason = QString::fromUtf8(why.data(), static_cast<qsizetype>(why.size()));
        calls << QStringLiteral("hold");
    }
    void release() override
    {
        reason.clear();
        calls << QStringLiteral("release");
    }
    QString reason;
    QStringList calls;
};

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
            const OrderlyShutdown shutdown({.savePending = [&saved] { return ++saved > 0; },
                                            .confirmEndUnsaved = [] { return true; },
                                            .closeUnattended = [&closed] { return ++closed > 0; }});
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
    // another program locks the file; the session manager asks again and is
    // not told that it was saved: where it lets the program ask, the user
    // decides whether the session may end without the price, otherwise the
    // save is reported as failed. Then the program ends, by a stop signal or
    // by the session's real end, and answers no message box: the error
    // output names the cause and the typed prices, once, and the exit status
    // says that they were not saved.
    void endWithAnEditThatCannotBeSaved_data()
    {
        QTest::addColumn<bool>("bySignal");
        QTest::addColumn<Interaction>("interaction");
        QTest::addColumn<QString>("answer"); // the button the user clicks
        QTest::addColumn<QStringList>("toldTheManager");
        const QStringList cancel{QStringLiteral("cancel")};
#ifndef Q_OS_WIN
        QTest::newRow("SIGTERM, nobody may be asked")
            << true << Interaction::None << QString() << cancel;
#endif
        QTest::newRow("session's end, nobody may be asked")
            << false << Interaction::None << QString() << cancel;
        QTest::newRow("user lets the session end")
            << false << Interaction::Any << QStringLiteral("ODJAVI SE")
            << QStringList{QStringLiteral("release")};
        QTest::newRow("user stays, asked as for an error")
            << false << Interaction::ErrorsOnly << QStringLiteral("PREKINI ODJAVU") << cancel;
    }
    void endWithAnEditThatCannotBeSaved()
    {
        QFETCH(bool, bySignal);
        QFETCH(Interaction, interaction);
        QFETCH(QString, answer);
        QFETCH(QStringList, toldTheManager);
        const kaldora::tests::ModalWatchdog watchdog;
        const kaldora::tests::PriceListFolder folder;
        const QString path = folder.filePath();
        QTemporaryFile errors;
        QVERIFY(errors.open());
        std::FILE* errorOutput = std::fopen(QFile::encodeName(errors.fileName()).constData(), "w");
        QVERIFY(errorOutput != nullptr);

        int code = kaldora::tests::kRunAborted;
        bool stillRunningAfterCommit = false;
        double savedAtCommit = 0;
        QStringList toldAtSave;
        QString question;
        QString heldFor;
        NotedHold hold;
        PlayedSessionManager manager(interaction);
        // Answers the question when it is on screen.
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            for (QAbstractButton* button :
                 box != nullptr ? box->buttons() : QList<QAbstractButton*>()) {
                if (button->text() == answer) {
                    question = box->text();
                    heldFor = hold.reason;
                    QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        });
        user.start(50);
        {
            struct Today final : kaldora::platform::Clock {
                std::chrono::sys_days today() const override { return std::chrono::sys_days{}; }
            } clock;
            kaldora::platform::QtMessageBox messages;
            kaldora::main_window::WindowOwner windows({clock, messages, ','},
                                                      kaldora::platform::systemServices(), path);
            const OrderlyShutdown shutdown(
                kaldora::app::endActions(windows, messages, hold, errorOutput));
            auto* form1 = windows.showPriceList();
            auto* price = form1->control<QLineEdit>(QStringLiteral("Text11"));
            price->setText(QStringLiteral("7,5"));

            // Another program with the price list open.
            TestDatabase other(path);
            QTimer::singleShot(0, [&] {
                QGuiApplicationPrivate::instance()->commitData();
                savedAtCommit = other.price("zelenavt").toDouble();
                toldAtSave = manager.answers;
                QTimer::singleShot(20, [&] {
                    stillRunningAfterCommit = windows.priceList() != nullptr && form1->isVisible();
                    price->setText(QStringLiteral("8,25"));
                    QVERIFY(other.exec({QStringLiteral("BEGIN EXCLUSIVE")}));
                    QGuiApplicationPrivate::instance()->commitData();
                    if (bySignal) {
                        QCOMPARE(std::raise(SIGTERM), 0);
                    } else {
                        // What the session's end does on X11: the window
                        // system terminates the application.
                        QCoreApplication::quit();
                    }
                });
            });
            code = shutdown.exitCode(kaldora::tests::runApplicationWithin(kRunLimit));
        }
        signal(SIGTERM, SIG_DFL);
        std::fclose(errorOutput);

        QCOMPARE(savedAtCommit, 7.5);
        QVERIFY(toldAtSave.isEmpty());
        QVERIFY(stillRunningAfterCommit);
        QCOMPARE(manager.answers, toldTheManager);
        // The session's end is held exactly while the question is open.
        const QStringList heldOnce{QStringLiteral("hold"), QStringLiteral("release")};
        QCOMPARE(hold.calls, answer.isEmpty() ? QStringList() : heldOnce);
        QCOMPARE(heldFor.isEmpty(), answer.isEmpty());
        if (answer.isEmpty()) {
            QVERIFY(question.isEmpty());
        } else {
            QVERIFY2(question.contains(QStringLiteral("KORISTI DRUGI PROGRAM")),
                     qPrintable(question));
            QVERIFY2(question.contains(QStringLiteral("BEZ UPISANIH CENA?")), qPrintable(question));
        }
        QCOMPARE(code, OrderlyShutdown::kExitUnsaved);
        QVERIFY2(watchdog.caught().isEmpty(), qPrintable(watchdog.caught().join(", ")));
        const QString said = QString::fromUtf8(errors.readAll());
        QVERIFY2(said.contains(QStringLiteral("KORISTI DRUGI PROGRAM")), qPrintable(said));
        QCOMPARE(said.count(QStringLiteral("ZELENA ZONA V.T.: 8,25")), 1);
        QCOMPARE(TestDatabase(path).price("zelenavt").toDouble(), 7.5);
    }
};

int runOrderlyShutdownTest(int argc, char** argv)
{
    OrderlyShutdownTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_orderlyshutdown.moc"
