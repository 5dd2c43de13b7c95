#include "about/aboutowner.h"
#include "about/frmabout.h"
#include "fakefiletest.h"
#include "fakeprogramstarter.h"
#include "fakeregistry.h"
#include "platform/apptitle.h"
#include "support/modalwatchdog.h"
#include "support/qttestmain.h"
#include "support/recordingmessagebox.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <memory>

using namespace kaldora;
using namespace kaldora::about;
using namespace kaldora::about::test;

namespace {

const QString kTitle = QString::fromUtf8(platform::kApplicationTitle.data(),
                                         qsizetype(platform::kApplicationTitle.size()));

// The sixteen colours a 16-colour icon can use.
const QSet<QRgb> kSixteenColours = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

} // namespace

// Opens the about dialog against fakes of the registry, the program start,
// the file test and the message box, so nothing modal ever appears.
class FrmAboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakeRegistry> m_registry;
    std::unique_ptr<FakeProgramStarter> m_programs;
    std::unique_ptr<FakeFileTest> m_files;
    std::unique_ptr<kaldora::tests::RecordingMessageBox> m_messages;
    std::unique_ptr<AboutOwner> m_owner;
    std::unique_ptr<kaldora::tests::ModalWatchdog> m_watchdog;

    platform::OsServices services() { return {*m_registry, *m_programs, *m_files}; }

    frmAbout& openActive()
    {
        frmAbout& dialog = m_owner->show();
        if (!QTest::qWaitForWindowActive(&dialog)) {
            qWarning("the dialog did not become active");
        }
        return dialog;
    }

    template <typename T = QWidget> static T* child(const frmAbout& dialog, const char* key)
    {
        return dialog.control<T>(QLatin1String(key));
    }

private slots:
    void init()
    {
        m_watchdog = std::make_unique<kaldora::tests::ModalWatchdog>();
        m_registry = std::make_unique<FakeRegistry>();
        m_programs = std::make_unique<FakeProgramStarter>();
        m_files = std::make_unique<FakeFileTest>();
        m_messages = std::make_unique<kaldora::tests::RecordingMessageBox>();
        m_owner = std::make_unique<AboutOwner>(services(), *m_messages);
    }

    void cleanup()
    {
        if (frmAbout* open = m_owner->current()) {
            delete open;
        }
        m_owner.reset();
        QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
        m_watchdog.reset();
    }

    void texts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("lblTitle") << "lblTitle"
                                  << "KALDORA";
        QTest::newRow("lblVersion") << "lblVersion"
                                    << "Version 1.0.0";
        QTest::newRow("lblDescription") << "lblDescription"
                                        << "App Description  IZRACUNAVA MESECNI RACUN ZA STRUJU!!!";
        QTest::newRow("lblDisclaimer") << "lblDisclaimer"
                                       << "Warning: ...";
        QTest::newRow("cmdOK") << "cmdOK"
                               << "OK";
        QTest::newRow("cmdSysInfo") << "cmdSysInfo"
                                    << "&System Info...";
    }

    void texts()
    {
        QFETCH(QString, control);
        QFETCH(QString, text);
        frmAbout& dialog = m_owner->show();
        QCOMPARE(dialog.windowTitle(), "About " + kTitle);
        QWidget* w = dialog.control(control);
        QVERIFY(w != nullptr);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            QCOMPARE(label->text(), text);
        } else {
            QCOMPARE(qobject_cast<QPushButton*>(w)->text(), text);
        }
    }

    void blackLabels()
    {
        frmAbout& dialog = m_owner->show();
        for (const char* name : {"lblTitle", "lblDescription", "lblDisclaimer"}) {
            QCOMPARE(child(dialog, name)->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
    }

    void geometry_data()
    {
        // Pixels at 15 twips each, from the places in twips.
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("cmdOK 4245,2625,1260,345") << "cmdOK" << QRect(283, 175, 84, 23);
        QTest::newRow("picIcon 240,240,540,540") << "picIcon" << QRect(16, 16, 36, 36);
        QTest::newRow("cmdSysInfo 4260,3075,1245,345") << "cmdSysInfo" << QRect(284, 205, 83, 23);
        QTest::newRow("lblDescription 1050,1125,3885,1170")
            << "lblDescription" << QRect(70, 75, 259, 78);
        QTest::newRow("lblDisclaimer 255,2625,3870,825")
            << "lblDisclaimer" << QRect(17, 175, 258, 55);
        QTest::newRow("lblTitle 1050,240,3885,480") << "lblTitle" << QRect(70, 16, 259, 32);
        QTest::newRow("lblVersion 1050,780,3885,225") << "lblVersion" << QRect(70, 52, 259, 15);
        // (90,2445)-(5654,2445), 1 pixel; (105,2460)-(5654,2460), 2 pixels.
        QTest::newRow("Line1(1)") << "Line1(1)" << QRect(6, 163, 371, 1);
        QTest::newRow("Line1(0)") << "Line1(0)" << QRect(7, 164, 370, 2);
    }

    void geometry()
    {
        QFETCH(QString, control);
        QFETCH(QRect, rect);
        frmAbout& dialog = m_owner->show();
        QWidget* w = dialog.control(control);
        QVERIFY(w != nullptr);
        QCOMPARE(w->parentWidget(), &dialog);
        QCOMPARE(w->geometry(), rect);
    }

    void separatorColours()
    {
        frmAbout& dialog = m_owner->show();
        QWidget* upper = child(dialog, "Line1(1)");
        QWidget* lower = child(dialog, "Line1(0)");
        QVERIFY(upper->autoFillBackground() && lower->autoFillBackground());
        QCOMPARE(upper->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(lower->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void windowShape()
    {
        frmAbout& dialog = m_owner->show();
        // 5730 x 3555 twips of client area, and the user cannot resize it.
        QCOMPARE(dialog.size(), QSize(382, 237));
        QCOMPARE(dialog.minimumSize(), dialog.size());
        QCOMPARE(dialog.maximumSize(), dialog.size());
        const Qt::WindowFlags flags = dialog.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(dialog.parentWidget() == nullptr);
        QVERIFY(!dialog.isModal());
        QVERIFY(dialog.isVisible());
    }

    void icon()
    {
        frmAbout& dialog = m_owner->show();
        const QPixmap pixmap = child<QLabel>(dialog, "picIcon")->pixmap();
        QCOMPARE(pixmap.size(), QSize(32, 32));
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        QSet<QRgb> used;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0) {
                    continue;
                }
                QCOMPARE(qAlpha(pixel), 255);
                QVERIFY2(kSixteenColours.contains(pixel), qPrintable(QString::number(pixel, 16)));
                used.insert(pixel);
            }
        }
        QVERIFY(used.contains(qRgb(255, 255, 0)));
        QVERIFY(used.size() >= 3);
    }

    void focusStartsOnOkAndFollowsTheTabOrder()
    {
        frmAbout& dialog = openActive();
        QCOMPARE(QApplication::focusWidget(), child(dialog, "cmdOK"));
        const char* order[] = {"picIcon", "cmdSysInfo", "cmdOK", "picIcon"};
        for (const char* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), child(dialog, next));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), child(dialog, "cmdOK"));
    }

    void okCloses_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Enter on OK") << "cmdOK" << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter);
        QTest::newRow("Enter on the icon") << "picIcon" << int(Qt::Key_Return);
        QTest::newRow("Esc on OK") << "cmdOK" << int(Qt::Key_Escape);
        QTest::newRow("Esc on System Info") << "cmdSysInfo" << int(Qt::Key_Escape);
        QTest::newRow("Space on OK") << "cmdOK" << int(Qt::Key_Space);
    }

    void okCloses()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        frmAbout& dialog = openActive();
        QWidget* target = dialog.control(focus);
        target->setFocus();
        QCOMPARE(QApplication::focusWidget(), target);
        QPointer<frmAbout> watched(&dialog);
        QTest::keyClick(target, Qt::Key(key));
        QTRY_VERIFY(watched.isNull());
        QVERIFY(m_owner->current() == nullptr);
        QVERIFY(m_messages->shown().empty());
    }

    void closeBoxUnloads()
    {
        QPointer<frmAbout> watched(&m_owner->show());
        QVERIFY(watched->close());
        QTRY_VERIFY(watched.isNull());
    }

    void sysInfoButton_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << "click";
        QTest::newRow("Enter on the button") << "enter";
        QTest::newRow("access key Alt+S") << "alt+s";
    }

    void sysInfoButton()
    {
        QFETCH(QString, how);
        frmAbout& dialog = openActive();
        auto* button = child<QPushButton>(dialog, "cmdSysInfo");
        if (how == "click") {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (how == "enter") {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
        } else {
            // Through the window, as the system delivers it: shortcuts are
            // matched there, not in the widget.
            QTest::keyClick(dialog.windowHandle(), Qt::Key_S, Qt::AltModifier);
        }
        // Nothing is registered: the one message, and the dialog stays. An
        // access key presses its button with a short visible delay.
        QTRY_COMPARE(m_messages->shown().size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(m_messages->shown()[0].text),
                 "System Information Is Unavailable At This Time");
        QCOMPARE(QString::fromStdString(m_messages->shown()[0].caption), kTitle);
        QVERIFY(m_programs->attempts().empty());
        QCOMPARE(m_owner->current(), &dialog);
        QVERIFY(dialog.isVisible());
    }

    void sysInfoButtonStartsTheRegisteredTool()
    {
        const std::string tool = "C:\\Tools\\msinfo32.exe";
        m_registry->setText(std::string(kMsinfoPathKey), "PATH", tool);
        m_programs->addProgram(tool);
        frmAbout& dialog = m_owner->show();
        QTest::mouseClick(child(dialog, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(m_programs->started(), std::vector<std::string>{tool});
        QVERIFY(m_messages->shown().empty());
        QCOMPARE(m_registry->keysClosed(), m_registry->keysHandedOut());
    }

    void oneInstanceWhileOpen()
    {
        frmAbout& first = m_owner->show();
        first.setWindowTitle("changed while open");
        frmAbout& second = m_owner->show();
        QCOMPARE(&second, &first);
        // Showing an open dialog does not load it again.
        QCOMPARE(second.windowTitle(), "changed while open");
        int dialogs = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            dialogs += w->objectName() == "frmAbout" ? 1 : 0;
        }
        QCOMPARE(dialogs, 1);
    }

    void reopenAfterEscLoadsAfresh()
    {
        for (int opening = 0; opening < 3; ++opening) {
            frmAbout& dialog = openActive();
            QCOMPARE(dialog.windowTitle(), "About " + kTitle);
            QCOMPARE(child<QLabel>(dialog, "lblTitle")->text(), "KALDORA");
            QCOMPARE(child<QLabel>(dialog, "lblVersion")->text(), "Version 1.0.0");
            QCOMPARE(QApplication::focusWidget(), child(dialog, "cmdOK"));
            child<QLabel>(dialog, "lblTitle")->setText("left behind");
            QPointer<frmAbout> watched(&dialog);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QTRY_VERIFY(watched.isNull());
        }
    }
};

KALDORA_TEST_MAIN(FrmAboutTest)
#include "frmabout_test.moc"
