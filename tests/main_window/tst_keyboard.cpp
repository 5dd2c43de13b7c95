// The keyboard as on the classic desktop: Return and keypad Enter press the
// button that has the focus, in every window, and do nothing elsewhere in
// the main window, which has no default button.

#include "about/frmabout.h"
#include "form2harness.h"
#include "price_list/form1.h"
#include "support/environmentoverride.h"
#include "support/shownmessages.h"
#include "support/tempfolder.h"
#include "windowsuite.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using kaldora::tests::day;
using kaldora::tests::Form2Harness;
using kaldora::tests::openWindow;
using kaldora::tests::shownTexts;

namespace {

const QString kInputError = QStringLiteral("NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!");
const QString kApplied = QStringLiteral("CENOVNIK JE IZMENJEN");
const QString kNoSysInfo = QStringLiteral("System Information Is Unavailable At This Time");

QPushButton* buttonOf(QWidget* window, const QString& name)
{
    auto* button = window->findChild<QPushButton*>(name);
    if (button == nullptr) {
        qFatal("no button %s", qPrintable(name));
    }
    return button;
}

} // namespace

class KeyboardTest : public kaldora::tests::WindowSuite {
    Q_OBJECT

private slots:
    // What the button does shows in the message it leads to (OBRACUNAJ on
    // empty readings reports the input error) or in its window closing.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("closes");
        const int enter = Qt::Key_Return;
        const int keypad = Qt::Key_Enter;
        QTest::newRow("OBRACUNAJ, Enter") << "Form2"
                                          << "Command1" << enter << kInputError << false;
        QTest::newRow("OBRACUNAJ, keypad Enter") << "Form2"
                                                 << "Command1" << keypad << kInputError << false;
        QTest::newRow("IZLAZ, Enter") << "Form2"
                                      << "Command2" << enter << QString() << true;
        QTest::newRow("IZLAZ, keypad Enter") << "Form2"
                                             << "Command2" << keypad << QString() << true;
        QTest::newRow("PROMENI CENOVNIK, Enter") << "Form1"
                                                 << "Command1" << enter << kApplied << true;
        QTest::newRow("PROMENI CENOVNIK, keypad Enter") << "Form1"
                                                        << "Command1" << keypad << kApplied << true;
        // OK is the about dialog's default button, which Enter presses
        // wherever the focus is; on System Info... it must press that one.
        QTest::newRow("System Info..., Enter") << "frmAbout"
                                               << "cmdSysInfo" << enter << kNoSysInfo << false;
        QTest::newRow("System Info..., keypad Enter")
            << "frmAbout"
            << "cmdSysInfo" << keypad << kNoSysInfo << false;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        // No system information program is found, so System Info... answers
        // with its message and starts nothing.
        const kaldora::tests::TempFolder emptyFolder;
        const kaldora::tests::EnvironmentOverride path("PATH", emptyFolder.path().string());
        Form2Harness h(day(2025, 1, 15));
        QPointer<QWidget> w = openWindow(h, window);
        QVERIFY(w != nullptr);
        buttonOf(w, button)->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), buttonOf(w, button));
        const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
        QCOMPARE(shownTexts(h.messages()),
                 message.isEmpty() ? QStringList() : QStringList{message});
        kaldora::tests::flushDeletions();
        QCOMPARE(w.isNull(), closes);
    }

    // Enter in a box, a combo box or a date picker is no button press: the
    // main window has no default button, and the price-list window neither.
    void enterElsewhereDoesNothing_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::newRow("new V.T. reading") << "Form2"
                                          << "Text1";
        QTest::newRow("a result box") << "Form2"
                                      << "Text23";
        QTest::newRow("meter type") << "Form2"
                                    << "Combo1";
        QTest::newRow("date of the reading") << "Form2"
                                             << "DTPicker1";
        QTest::newRow("a price") << "Form1"
                                 << "Text11";
    }
    void enterElsewhereDoesNothing()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        Form2Harness h(day(2025, 1, 15));
        QPointer<QWidget> w = openWindow(h, window);
        QVERIFY(w != nullptr);
        h.form()->control<QLineEdit>("Text1")->setText(QStringLiteral("1500"));
        auto* target = w->findChild<QWidget*>(control);
        QVERIFY(target != nullptr);
        target->setFocus(Qt::TabFocusReason);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        }
        kaldora::tests::flushDeletions();
        QVERIFY(!w.isNull() && w->isVisible());
        QVERIFY(h.messages().shown().empty());
        QVERIFY(h.form()->control<QLineEdit>("Text23")->text().isEmpty());
        QCOMPARE(h.form()->control<QLabel>("Label18")->text(), QStringLiteral("VRSTA BROJILA"));
    }

    // Walking the keyboard order over the two buttons and pressing one with
    // Enter makes neither the window's default button.
    void noMainWindowButtonBecomesTheDefault()
    {
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        auto* command1 = h.form()->control<QPushButton>("Command1");
        auto* command2 = h.form()->control<QPushButton>("Command2");
        constexpr int kKeyboardOrderLength = 38;
        for (int i = 0; i < kKeyboardOrderLength; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(!command1->isDefault() && !command2->isDefault());
            QVERIFY(!command1->autoDefault() && !command2->autoDefault());
        }
        command1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(command1, Qt::Key_Return);
        QVERIFY(!command1->isDefault() && !command2->isDefault());
        QCOMPARE(shownTexts(h.messages()), QStringList{kInputError});
    }

    // In the about dialog OK stays the default button: Enter on the icon
    // presses it.
    void okStaysTheAboutDialogsDefault()
    {
        Form2Harness h(day(2025, 1, 15));
        QPointer<QWidget> about = openWindow(h, "frmAbout");
        QVERIFY(about != nullptr);
        auto* cmdOK = buttonOf(about, "cmdOK");
        QVERIFY(cmdOK->isDefault());
        about->findChild<QWidget*>("picIcon")->setFocus(Qt::TabFocusReason);
        QVERIFY(cmdOK->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        kaldora::tests::flushDeletions();
        QVERIFY(about.isNull());
    }
};

int runKeyboardTest(int argc, char** argv)
{
    KeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_keyboard.moc"
