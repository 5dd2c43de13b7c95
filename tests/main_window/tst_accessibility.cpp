// What a screen reader says of the three windows: every control a user can
// reach has a name built from the captions that describe it, never its
// value, and no two controls of a window sound the same.

#include "form2harness.h"
#include "main_window/form2layout.h"
#include "price_list/form1.h"
#include "windowsuite.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include <optional>

using kaldora::tests::day;
using kaldora::tests::Form2Harness;
using kaldora::tests::openWindow;

namespace {

QString spokenName(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

QString spokenValue(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr ? iface->text(QAccessible::Value) : QString();
}

// What the widget shows as its value, for the kinds that hold one: a box's,
// a combo box's or a date picker's text. Other widgets (buttons, lists)
// have none, whatever their accessible value.
std::optional<QString> shownValue(QWidget* w)
{
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        return box->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        return combo->currentText();
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        return spin->text();
    }
    return std::nullopt;
}

// Every widget a user can reach: whatever takes the focus, the inner parts
// Qt makes included, and the buttons that only the mouse reaches.
QList<QWidget*> reachable(QWidget* window)
{
    QList<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool button = qobject_cast<QAbstractButton*>(w) != nullptr && !w->isHidden();
        if (w->focusPolicy() != Qt::NoFocus || button) {
            found << w;
        }
    }
    return found;
}

QString describe(QWidget* w)
{
    QString path = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
    for (QWidget* p = w->parentWidget(); p != nullptr && !p->isWindow(); p = p->parentWidget()) {
        if (!p->objectName().isEmpty()) {
            path = p->objectName() + "/" + path;
            break;
        }
    }
    return path;
}

} // namespace

class AccessibilityTest : public kaldora::tests::WindowSuite {
    Q_OBJECT

private slots:
    void everyReachableControlHasAName_data() { kaldora::tests::addWindowRows(); }
    void everyReachableControlHasAName()
    {
        QFETCH(QString, window);
        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, window);
        QVERIFY(w != nullptr);
        // Values in every box and combo box, so that a name taken from the
        // value shows. The text parts inside other controls keep theirs: a
        // date picker's must stay a date.
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (box->focusProxy() == nullptr && box->text().isEmpty()) {
                box->setText(QStringLiteral("12,5"));
            }
        }
        for (QComboBox* combo : w->findChildren<QComboBox*>()) {
            combo->setCurrentText(QStringLiteral("12,5"));
        }
        QStringList problems;
        int named = 0;
        for (QWidget* control : reachable(w)) {
            const QString name = spokenName(control);
            const QString value = spokenValue(control);
            if (name.trimmed().isEmpty()) {
                problems << describe(control) + ": no name";
            } else if (const auto shown = shownValue(control);
                       shown && (name == *shown || name == value)) {
                problems << describe(control) + ": named by its value " + name;
            } else {
                ++named;
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
        QVERIFY(named > 0);
    }

    // The names of the documents, and the ones that set controls of the same
    // caption apart.
    void namesFromTheCaptions_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* window, const char* control, const char* name) {
            QTest::addRow("%s %s", window, control) << window << control << name;
        };
        row("Form2", "Text1", "NOVO STANJE V.T.");
        row("Form2", "Text2", "NOVO STANJE M.T.");
        row("Form2", "Text4", "STARO STANJE V.T.");
        row("Form2", "DTPicker1", "DATUM OCITAVANJA");
        row("Form2", "DTPicker2", "DATUM PRETHODNOG OCITAVANJA");
        row("Form2", "Combo1", "VRSTA BROJILA");
        row("Form2", "Combo2", "AMPERAZA");
        row("Form2", "Text3", "ZONA 1 V.T. kWh");
        row("Form2", "Text12", "ZONA 1 M.T. Din/kWh");
        row("Form2", "Text19", "ZONA 2 V.T. UKUPNO DIN");
        row("Form2", "Text22", "ZONA 3 M.T. UKUPNO DIN");
        row("Form2", "Text23", "UTROSENA ELEKTRICNA ENERGIJA");
        row("Form2", "Text28", "UKUPNO ZADUZENJE SA PDV-om");
        row("Form2", "Text29", "V.T. kWh");
        row("Form2", "Text32", "DANA");
        row("Form2", "Command1", "OBRACUNAJ");
        row("Form2", "Command2", "IZLAZ");
        row("Form1", "Text11", "ZONA 1 V.T. Din/kWh");
        row("Form1", "Text16", "ZONA 3 M.T. Din/kWh");
        row("Form1", "Command1", "PROMENI CENOVNIK");
        // The arrows of the navigation bar.
        row("Form1", "first", "PRVI ZAPIS");
        row("Form1", "previous", "PRETHODNI ZAPIS");
        row("Form1", "next", "SLEDECI ZAPIS");
        row("Form1", "last", "POSLEDNJI ZAPIS");
        row("frmAbout", "cmdOK", "OK");
        row("frmAbout", "cmdSysInfo", "System Info...");
        row("frmAbout", "picIcon", "KALDORA");
    }
    void namesFromTheCaptions()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        Form2Harness h(day(2025, 1, 15));
        QWidget* c = kaldora::tests::openControl(h, window, control);
        QVERIFY(c != nullptr);
        QCOMPARE(spokenName(c), name);
        // The parts that take the focus for it speak the same name.
        if (auto* combo = qobject_cast<QComboBox*>(c)) {
            QCOMPARE(spokenName(combo->lineEdit()), name);
            QCOMPARE(spokenName(combo->view()), name);
        }
        for (QLineEdit* inner : c->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
            QCOMPARE(spokenName(inner), name);
        }
    }

    // Controls that take the keyboard focus sound different from each other,
    // also where their captions are the same ("V.T:" four times).
    void namesTellTheControlsApart_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("controls");
        // 32 boxes, 2 combo boxes, 2 date pickers, 2 buttons; 6 prices and a
        // button; 2 buttons and the icon.
        QTest::newRow("Form2") << "Form2" << 38;
        QTest::newRow("Form1") << "Form1" << 7;
        QTest::newRow("frmAbout") << "frmAbout" << 3;
    }
    void namesTellTheControlsApart()
    {
        QFETCH(QString, window);
        QFETCH(int, controls);
        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, window);
        QVERIFY(w != nullptr);
        QStringList names;
        QWidget* first = w->nextInFocusChain();
        QWidget* c = first;
        do {
            // The parts inside a control speak its name, and pop-ups are
            // windows of their own; only the controls of the keyboard order
            // count.
            if ((c->focusPolicy() & Qt::TabFocus) && c->focusProxy() == nullptr &&
                c->window() == w) {
                names << spokenName(c);
            }
            c = c->nextInFocusChain();
        } while (c != first);
        QCOMPARE(names.size(), controls);
        QStringList distinct = names;
        distinct.removeDuplicates();
        QCOMPARE(distinct.size(), names.size());
    }

    // A label that captions one control is its buddy.
    void labelsCaptionTheirControls_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("control");
        QTest::newRow("Label1") << "Form2"
                                << "Label1"
                                << "Text1";
        QTest::newRow("Label5") << "Form2"
                                << "Label5"
                                << "Text5";
        QTest::newRow("Label4") << "Form2"
                                << "Label4"
                                << "DTPicker2";
        QTest::newRow("Label7") << "Form2"
                                << "Label7"
                                << "Combo1";
        QTest::newRow("Label8") << "Form2"
                                << "Label8"
                                << "Combo2";
        QTest::newRow("Label20(3)") << "Form2"
                                    << "Label20(3)"
                                    << "Text26";
        QTest::newRow("Label24") << "Form2"
                                 << "Label24"
                                 << "Text32";
        QTest::newRow("Form1 Label12") << "Form1"
                                       << "Label12"
                                       << "Text14";
    }
    void labelsCaptionTheirControls()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(QString, control);
        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, window);
        QVERIFY(w != nullptr);
        QLabel* caption = nullptr;
        if (auto* form2 = qobject_cast<kaldora::main_window::Form2*>(w)) {
            caption = form2->control<QLabel>(label);
        } else {
            caption = qobject_cast<kaldora::price_list::Form1*>(w)->control<QLabel>(label);
        }
        QVERIFY(caption->buddy() != nullptr);
        QCOMPARE(caption->buddy()->objectName(), control);
    }

    // Labels that caption nothing, or a whole row or column, have no buddy.
    void echoesAndHeadersCaptionNoControl()
    {
        Form2Harness h(day(2025, 1, 15));
        for (const char* name : {"Label18", "Label19", "Label9", "Label15", "Label26"}) {
            QVERIFY2(h.form()->control<QLabel>(name)->buddy() == nullptr, name);
        }
    }

    // Menus and their items are called by their captions.
    void menuItemsAreNamed()
    {
        Form2Harness h(day(2025, 1, 15));
        QStringList spoken;
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(h.form()->menuBar());
        QVERIFY(bar != nullptr);
        for (int i = 0; i < bar->childCount(); ++i) {
            spoken << bar->child(i)->text(QAccessible::Name);
        }
        for (QAction* menu : h.form()->menuBar()->actions()) {
            QAccessibleInterface* items = QAccessible::queryAccessibleInterface(menu->menu());
            QVERIFY(items != nullptr);
            for (int i = 0; i < items->childCount(); ++i) {
                spoken << items->child(i)->text(QAccessible::Name);
            }
        }
        QCOMPARE(spoken, QStringList({"GLAVNA OPCIJA", "POMOC", "OBRACUNAJ", "PROMENI CENOVNIK",
                                      "IZLAZ", "O PROGRAMU", "OBAVESTENJE"}));
    }
};

int runAccessibilityTest(int argc, char** argv)
{
    AccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
