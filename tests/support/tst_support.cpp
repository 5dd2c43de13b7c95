// The Qt test support: the modal watchdog, the price-list folder, the texts
// of the recording message box, and the private home of a Qt Test program.

#include "price_list/pricelistfile.h"
#include "support/modalwatchdog.h"
#include "support/pricelistfolder.h"
#include "support/qttestmain.h"
#include "support/shownmessages.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>

#include <chrono>

using namespace std::chrono_literals;
using kaldora::tests::ModalWatchdog;

namespace {

// Short, so a caught window costs the test little time.
constexpr std::chrono::milliseconds kLimit = 300ms;

} // namespace

class SupportTest : public QObject {
    Q_OBJECT

private slots:
    // A modal dialog or window that nobody answers is closed after the
    // limit, not before, and its caption is kept; the test goes on.
    void watchdogClosesAnUnansweredModalWindow_data()
    {
        QTest::addColumn<bool>("dialog");
        QTest::newRow("dialog") << true;
        QTest::newRow("plain window") << false;
    }
    void watchdogClosesAnUnansweredModalWindow()
    {
        QFETCH(bool, dialog);
        ModalWatchdog watchdog(kLimit);
        QElapsedTimer open;
        open.start();
        if (dialog) {
            QDialog box;
            box.setWindowTitle(QStringLiteral("NOBODY ANSWERS"));
            QCOMPARE(box.exec(), int(QDialog::Rejected));
        } else {
            QWidget window;
            window.setWindowTitle(QStringLiteral("NOBODY ANSWERS"));
            window.setWindowModality(Qt::ApplicationModal);
            window.show();
            QTRY_VERIFY(!window.isVisible());
        }
        QVERIFY(open.elapsed() >= kLimit.count());
        QCOMPARE(watchdog.caught(), QStringList{"NOBODY ANSWERS"});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // A test that answers its own box in time is left alone, also when it
    // opens one box after another.
    void watchdogLeavesAnsweredWindowsAlone()
    {
        ModalWatchdog watchdog(kLimit);
        constexpr int kBoxes = 4;
        for (int i = 0; i < kBoxes; ++i) {
            QDialog box;
            QTimer::singleShot(kLimit / 2, &box, &QDialog::accept);
            QCOMPARE(box.exec(), int(QDialog::Accepted));
        }
        QVERIFY(watchdog.caught().isEmpty());
    }

    // The data folder is the folder's own while it lives, and the program's
    // default price list is in it.
    void priceListFolderHoldsTheDefaultPlace()
    {
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        {
            kaldora::tests::PriceListFolder folder;
            QVERIFY(folder.isValid());
            QCOMPARE(qEnvironmentVariable("XDG_DATA_HOME"), folder.dataHome());
            QVERIFY(folder.dataHome().startsWith(folder.path() + '/'));
            QCOMPARE(folder.filePath(), QDir(folder.path()).filePath("cenovnik.db"));
            const QString program = kaldora::price_list::PriceListFile::defaultPath();
            if (program.startsWith(folder.path())) {
                QCOMPARE(program, folder.dataHome() + "/kaldora/cenovnik.db");
            } else {
                qInfo("built with a fixed KALDORA_PRICE_LIST_DIR: %s", qPrintable(program));
            }
        }
        QCOMPARE(qgetenv("XDG_DATA_HOME"), before);
    }

    void shownTextsAndCaptionsInOrder()
    {
        kaldora::tests::RecordingMessageBox messages;
        messages.show("CENOVNIK JE IZMENJEN", "KALDORA");
        messages.show("GRESKA", "");
        QCOMPARE(kaldora::tests::shownTexts(messages),
                 (QStringList{"CENOVNIK JE IZMENJEN", "GRESKA"}));
        QCOMPARE(kaldora::tests::shownCaptions(messages), (QStringList{"KALDORA", ""}));
    }

    // The program's main made a private home before the application: the
    // folders Qt reports are in it, under the temporary folder.
    void theTestsRunInAPrivateHome()
    {
        const QString home = QDir::homePath();
        QVERIFY2(home.startsWith(QDir(QDir::tempPath()).canonicalPath()) ||
                     home.startsWith(QDir::tempPath()),
                 qPrintable(home));
        for (auto location :
             {QStandardPaths::GenericDataLocation, QStandardPaths::GenericConfigLocation,
              QStandardPaths::GenericCacheLocation}) {
            QVERIFY2(QStandardPaths::writableLocation(location).startsWith(home + '/'),
                     qPrintable(QStandardPaths::writableLocation(location)));
        }
    }
};

KALDORA_TEST_MAIN(SupportTest)
#include "tst_support.moc"
