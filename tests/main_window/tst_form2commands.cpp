// What the main window does: its start-up, OBRACUNAJ through the button and
// the menu, the input error, the line reactions on typing, the echo of the
// meter choice, the menu item without a command, and unloading.

#include "form2harness.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWindow>

using kaldora::tests::day;
using kaldora::tests::Form2Harness;
using kaldora::tests::ModalWatchdog;
using Texts = QMap<int, QString>;

namespace {

// Every text, caption, combo text and date of the window, to see that an
// action changed nothing.
QStringList snapshot(const Form2Harness& h)
{
    QStringList all;
    for (QWidget* w : h.form()->centralWidget()->findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QLineEdit*>(w)) {
            all << w->objectName() + "=" + box->text();
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            all << w->objectName() + "=" + label->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            all << w->objectName() + "=" + combo->currentText();
        } else if (auto* picker = qobject_cast<QDateEdit*>(w)) {
            all << w->objectName() + "=" + picker->date().toString(Qt::ISODate);
        }
    }
    return all;
}

// Drops the list down and clicks an entry, as a user picks with the mouse.
void pickFromList(QComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTRY_VERIFY(list->isVisible());
    // The box ignores a release that comes within a double-click interval of
    // dropping down, so that the press that opened it does not pick.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!list->isVisible());
}

// Clicks into the text part of a combo box, as a user does, and types over
// its text. The keys go where a user's keys go: to the widget with the
// focus, which is the combo box itself, not its text part.
void typeInto(QComboBox* combo, const QString& keys)
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), combo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

void checkTexts(const Form2Harness& h, const Texts& expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QCOMPARE(std::make_pair(it.key(), h.text(it.key())->text()),
                 std::make_pair(it.key(), it.value()));
    }
}

} // namespace

class Form2CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup()
    {
        QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
        m_watchdog.reset();
    }

    void startUpSetsTheDates_data()
    {
        QTest::addColumn<QList<QDate>>("clock");
        QTest::addColumn<QString>("newDate");
        QTest::addColumn<QString>("previousDate");
        QTest::newRow("15 January") << QList<QDate>{{2025, 1, 15}} << "15.01.2025"
                                    << "16.12.2024";
        QTest::newRow("31 March") << QList<QDate>{{2025, 3, 31}} << "31.03.2025"
                                  << "01.03.2025";
        QTest::newRow("leap year") << QList<QDate>{{2024, 3, 31}} << "31.03.2024"
                                   << "01.03.2024";
        // The clock is read again for the previous date.
        QTest::newRow("across midnight")
            << QList<QDate>{{2025, 3, 31}, {2025, 4, 1}} << "31.03.2025"
            << "02.03.2025";
    }
    void startUpSetsTheDates()
    {
        QFETCH(QList<QDate>, clock);
        QFETCH(QString, newDate);
        QFETCH(QString, previousDate);
        std::vector<std::chrono::sys_days> days;
        for (const QDate& d : clock) {
            days.push_back(day(d.year(), unsigned(d.month()), unsigned(d.day())));
        }
        kaldora::tests::FixedClock fixed(days);
        kaldora::tests::RecordingMessageBox messages;
        kaldora::main_window::WindowOwner windows({fixed, messages, ','});
        auto* form = windows.form2();
        QCOMPARE(form->control<QDateEdit>("DTPicker1")->text(), newDate);
        QCOMPARE(form->control<QDateEdit>("DTPicker2")->text(), previousDate);
        QCOMPARE(fixed.reads(), 2);
        // Nothing is calculated at start: every box but the six prices stays
        // empty.
        for (int n = 1; n <= 32; ++n) {
            const bool price = n >= 11 && n <= 16;
            QCOMPARE(form->control<QLineEdit>(QString("Text%1").arg(n))->text().isEmpty(), !price);
        }
    }

    void obracunajFillsTheBill_data()
    {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<Texts>("expected");
        QTest::newRow("zone 1 only")
            << ',' << QStringList{"200", "100", "0", "0"}
            << Texts{{3, "200"},     {6, "100"},      {7, "0"},       {8, "0"},
                     {9, "0"},       {10, "0"},       {17, "620,00"}, {18, "155,00"},
                     {19, "0,00"},   {20, "0,00"},    {21, "0,00"},   {22, "0,00"},
                     {23, "775"},    {24, "119,07"},  {25, "348,68"}, {26, "1242,75"},
                     {27, "223,70"}, {28, "1466,45"}, {29, "200"},    {30, "100"},
                     {31, "300"},    {32, "30"}};
        QTest::newRow("zones 1 and 2")
            << ',' << QStringList{"400", "200", "0", "0"}
            << Texts{{3, "233"},      {6, "117"},      {7, "167"},     {8, "83"},
                     {17, "722,30"},  {18, "181,35"},  {19, "776,55"}, {20, "193,39"},
                     {23, "1873,59"}, {26, "2341,34"}, {27, "421,44"}, {28, "2762,78"}};
        QTest::newRow("all three zones")
            << ',' << QStringList{"1500", "500", "0", "0"}
            << Texts{{3, "262"},      {6, "87"},       {7, "937"},      {8, "312"},
                     {9, "300"},      {10, "100"},     {23, "9286,06"}, {26, "9753,81"},
                     {27, "1755,69"}, {28, "11509,5"}, {31, "2000"}};
        QTest::newRow("decimal readings") << ',' << QStringList{"1234,5", "500", "1000", "400"}
                                          << Texts{{29, "234,5"}, {30, "100"}, {31, "334,5"}};
        QTest::newRow("decimal point locale")
            << '.' << QStringList{"1500", "500", "0", "0"}
            << Texts{{23, "9286.06"}, {24, "119.07"}, {27, "1755.69"}, {28, "11509.5"}};
    }
    void obracunajFillsTheBill()
    {
        QFETCH(char, separator);
        QFETCH(QStringList, readings);
        QFETCH(Texts, expected);
        Form2Harness h(day(2025, 3, 31), separator);
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings(readings[0], readings[1], readings[2], readings[3]);
        h.clickObracunaj();
        checkTexts(h, expected);
        QVERIFY(h.messages().shown().empty());
    }

    void menuItemObracunajDoesWhatTheButtonDoes()
    {
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings("1500", "500", "0", "0");
        h.form()->menuItem("DRU")->trigger();
        checkTexts(h, {{23, "9286,06"}, {28, "11509,5"}, {32, "30"}});
    }

    // A reading that is not a number: one message, the focus on the new V.T.
    // reading, empty readings become "0", typed ones stay, and the results
    // of the previous calculation stay as they were.
    void inputError_data()
    {
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QStringList>("afterwards");
        QTest::newRow("new V.T. empty")
            << QStringList{"", "500", "1000", "400"} << QStringList{"0", "500", "1000", "400"};
        QTest::newRow("letters stay")
            << QStringList{"1500", "abc", "0", "0"} << QStringList{"1500", "abc", "0", "0"};
        QTest::newRow("all empty")
            << QStringList{"", "", "", ""} << QStringList{"0", "0", "0", "0"};
        QTest::newRow("blanks are not empty")
            << QStringList{"1500", "500", " ", ""} << QStringList{"1500", "500", " ", "0"};
    }
    void inputError()
    {
        QFETCH(QStringList, readings);
        QFETCH(QStringList, afterwards);
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings("1500", "500", "0", "0");
        h.clickObracunaj();
        QCOMPARE(h.text(28)->text(), QStringLiteral("11509,5"));

        h.typeReadings(readings[0], readings[1], readings[2], readings[3]);
        h.clickObracunaj();
        QCOMPARE(h.messages().shown().size(), std::size_t(1));
        QCOMPARE(h.messages().shown()[0].text, "NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!");
        QCOMPARE(h.messages().shown()[0].caption, "GRESKA");
        QCOMPARE(QApplication::focusWidget(), h.text(1));
        const int readingBoxes[] = {1, 2, 4, 5};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(h.text(readingBoxes[i])->text(), afterwards[i]);
        }
        checkTexts(h, {{3, "262"}, {17, "812,20"}, {23, "9286,06"}, {28, "11509,5"}, {31, "2000"}});

        // The "0" put into an empty new V.T. reading counts at the next run.
        if (readings[0].isEmpty() && readings[1] == "500") {
            h.clickObracunaj();
            QCOMPARE(h.text(29)->text(), QStringLiteral("-1000"));
            QCOMPARE(h.messages().shown().size(), std::size_t(1));
        }
    }

    // Typing into a quantity reprices its line at once, unrounded; the
    // totals wait for the next OBRACUNAJ. Prices have no reaction.
    void typingIntoAQuantityRepricesItsLine()
    {
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings("1500", "500", "0", "0");
        h.clickObracunaj();

        h.type(3, "250");
        QCOMPARE(h.text(17)->text(), QStringLiteral("775"));
        QCOMPARE(h.text(23)->text(), QStringLiteral("9286,06"));
        QCOMPARE(h.text(28)->text(), QStringLiteral("11509,5"));

        h.type(7, "0,5");
        QCOMPARE(h.text(19)->text(), QStringLiteral("2,325"));

        // A quantity that is no longer a number leaves its amount alone.
        h.text(10)->setFocus();
        h.text(10)->selectAll();
        QTest::keyClick(h.text(10), Qt::Key_Backspace);
        QCOMPARE(h.text(10)->text(), QString());
        QCOMPARE(h.text(22)->text(), QStringLiteral("465,00"));

        h.type(11, "2");
        QCOMPARE(h.text(17)->text(), QStringLiteral("775"));
    }

    // A write from code runs the reaction even when the text stays the same.
    void unchangedWriteStillReprices()
    {
        Form2Harness h(day(2025, 1, 15));
        auto& sheet = h.form()->sheet();
        sheet.setText(kaldora::billing::Field::Text11, "3,10");
        sheet.setText(kaldora::billing::Field::Text3, "100");
        QCOMPARE(h.text(17)->text(), QStringLiteral("310"));
        sheet.setText(kaldora::billing::Field::Text11, "2");
        QCOMPARE(h.text(17)->text(), QStringLiteral("310"));
        sheet.setText(kaldora::billing::Field::Text3, "100");
        QCOMPARE(h.text(17)->text(), QStringLiteral("200"));
    }

    // The calculation remembers what it has read from each field. What the
    // user types between two runs, prices and readings alike, must be read
    // afresh: the second bill is the one a fresh window would give.
    void typedChangesAreReadByTheNextRun()
    {
        Form2Harness h(day(2025, 3, 31));
        h.typeReadings("1500", "500", "0", "0");
        h.type(11, "3,10");
        h.clickObracunaj();
        QCOMPARE(h.text(17)->text(), QStringLiteral("812,20"));

        h.type(11, "4");
        h.type(1, "1600");
        h.clickObracunaj();

        Form2Harness fresh(day(2025, 3, 31));
        fresh.typeReadings("1600", "500", "0", "0");
        fresh.type(11, "4");
        fresh.clickObracunaj();
        for (const int field : {3, 6, 7, 8, 9, 10, 17, 18, 19, 20, 21, 22, 23, 26, 27, 28}) {
            QCOMPARE(h.text(field)->text(), fresh.text(field)->text());
        }
        QVERIFY(h.text(17)->text() != QStringLiteral("812,20"));
    }

    void aPickIsEchoedTypingIsNot()
    {
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        auto* combo1 = h.form()->control<QComboBox>("Combo1");
        auto* combo2 = h.form()->control<QComboBox>("Combo2");
        auto* label18 = h.form()->control<QLabel>("Label18");
        auto* label19 = h.form()->control<QLabel>("Label19");
        QCOMPARE(label18->text(), QStringLiteral("VRSTA BROJILA"));

        // The arrow key in the closed box picks the entry above.
        combo1->setFocus();
        QTest::keyClick(combo1, Qt::Key_Up);
        QCOMPARE(combo1->currentText(), QStringLiteral("MONOFAZNO"));
        QCOMPARE(label18->text(), QStringLiteral("MONOFAZNO"));

        // Picked with the mouse from the dropped-down list.
        pickFromList(combo1, 1);
        QCOMPARE(combo1->currentText(), QStringLiteral("TROFAZNO"));
        QCOMPARE(label18->text(), QStringLiteral("TROFAZNO"));

        // Typing is no pick, and nothing is completed from the list.
        typeInto(combo1, "MONO");
        QCOMPARE(combo1->currentText(), QStringLiteral("MONO"));
        QCOMPARE(label18->text(), QStringLiteral("TROFAZNO"));

        // An amperage outside the list is accepted as typed.
        typeInto(combo2, "32A");
        QCOMPARE(combo2->currentText(), QStringLiteral("32A"));
        QCOMPARE(combo2->count(), 1);
        QCOMPARE(h.form()->sheet().text(kaldora::billing::Field::Combo2), "32A");
        QCOMPARE(label19->text(), QStringLiteral("AMPERAZA"));
        pickFromList(combo2, 0);
        QCOMPARE(combo2->currentText(), QStringLiteral("25A"));
        QCOMPARE(label19->text(), QStringLiteral("25A"));
    }

    // A typed text that equals an entry of the list is still no pick, however
    // the user leaves it: the list, the label beside it and the bill keep
    // what they had.
    void typedEntryIsNoPick_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Tab to the next control") << int(Qt::Key_Tab) << int(Qt::NoModifier);
    }
    void typedEntryIsNoPick()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        auto* combo1 = h.form()->control<QComboBox>("Combo1");
        auto* label18 = h.form()->control<QLabel>("Label18");
        typeInto(combo1, "MONOFAZNO");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        QCOMPARE(combo1->currentText(), QStringLiteral("MONOFAZNO"));
        QCOMPARE(combo1->currentIndex(), 1);
        QCOMPARE(label18->text(), QStringLiteral("VRSTA BROJILA"));
        QVERIFY(h.messages().shown().empty());
    }

    void obavestenjeChangesNothing()
    {
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings("400", "200", "0", "0");
        h.clickObracunaj();
        const QStringList before = snapshot(h);
        const qsizetype windows = QApplication::topLevelWidgets().size();
        h.form()->menuItem("O")->trigger();
        QTest::qWait(50);
        QCOMPARE(snapshot(h), before);
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QVERIFY(h.form()->isVisible());
        QVERIFY(h.messages().shown().empty());
    }

    // IZLAZ, the menu item IZLAZ and the close box unload the window at once,
    // asking nothing, also with readings and results on it. The next use
    // loads a fresh window.
    void unloading_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("button IZLAZ") << "Command2";
        QTest::newRow("menu item IZLAZ") << "I";
        QTest::newRow("close box") << "close box";
    }
    void unloading()
    {
        QFETCH(QString, how);
        Form2Harness h(day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        h.typeExamplePrices();
        h.typeReadings("1500", "500", "0", "0");
        h.clickObracunaj();
        QPointer<QWidget> form = h.form();
        if (how == "Command2") {
            QTest::mouseClick(h.control("Command2"), Qt::LeftButton);
        } else if (how == "I") {
            h.form()->menuItem("I")->trigger();
        } else {
            QVERIFY(h.form()->windowHandle()->close());
        }
        QVERIFY(!form.isNull() ? !form->isVisible() : true);
        kaldora::tests::flushDeletions();
        QVERIFY(form.isNull());
        QVERIFY(h.messages().shown().empty());

        auto* again = h.owner().form2();
        QVERIFY(again != nullptr);
        QVERIFY(again->control<QLineEdit>("Text28")->text().isEmpty());
        // The typed prices are gone; the stored ones are back.
        QCOMPARE(again->control<QLineEdit>("Text11")->text(), QStringLiteral("3,1"));
        QCOMPARE(again->sheet().date(kaldora::billing::DateField::DTPicker1), day(2025, 1, 15));
        QCOMPARE(again, h.owner().form2());
    }

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

int runForm2CommandsTest(int argc, char** argv)
{
    Form2CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form2commands.moc"
