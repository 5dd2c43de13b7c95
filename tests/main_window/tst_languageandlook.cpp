// What Qt itself shows in the windows speaks Serbian Latin (the context
// menus, the drop-down calendar), and the windows keep their light colours
// on a dark desktop.

#include "form2harness.h"
#include "forms/applicationsetup.h"
#include "forms/calendar.h"
#include "forms/classicpalette.h"
#include "forms/datepicker.h"
#include "windowsuite.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using kaldora::forms::Calendar;
using kaldora::forms::classicPalette;
using kaldora::tests::day;
using kaldora::tests::Form2Harness;
using kaldora::tests::openWindow;

namespace {

const QStringList kBoxMenu = {"PONISTI", "PONOVI", "ISECI",      "KOPIRAJ",
                              "NALEPI",  "OBRISI", "IZABERI SVE"};
const QStringList kPickerMenu = {"PONISTI", "PONOVI",      "ISECI",   "KOPIRAJ", "NALEPI",
                                 "OBRISI",  "IZABERI SVE", "POVECAJ", "SMANJI"};

// How often the test looks for an opened menu, and for how long.
constexpr int kMenuPollMs = 10;
constexpr int kMenuWaitMs = 5000;

struct MenuEntries {
    QStringList texts; // without the access-key mark and the shortcut
    QStringList keys;  // the access keys
};

// Opens the context menu of `w` as a right click does and reads its entries;
// separators are left out. Some menus run a loop of their own until they
// close, others return at once, so the menu is looked for from a timer.
MenuEntries contextMenuOf(QWidget* w)
{
    MenuEntries entries;
    bool seen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr || seen) {
            return;
        }
        seen = true;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            const QString text = action->text().section(QLatin1Char('\t'), 0, 0);
            const qsizetype mark = text.indexOf(QLatin1Char('&'));
            if (mark >= 0 && mark + 1 < text.size()) {
                entries.keys << text.mid(mark + 1, 1);
            }
            entries.texts << QString(text).remove(QLatin1Char('&'));
        }
        menu->close();
    });
    poll.start(kMenuPollMs);
    const QPoint inside(4, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, w->mapToGlobal(inside));
    QApplication::sendEvent(w, &event);
    if (!QTest::qWaitFor([&] { return seen; }, kMenuWaitMs)) {
        qWarning("no context menu opened");
    }
    return entries;
}

QPalette darkPalette()
{
    constexpr QRgb kDarkGrey = 0x353535;
    constexpr QRgb kDarkBase = 0x191919;
    QPalette dark{QColor(kDarkGrey)};
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, Qt::white);
    }
    dark.setColor(QPalette::Base, QColor(kDarkBase));
    return dark;
}

} // namespace

class LanguageAndLookTest : public kaldora::tests::WindowSuite {
    Q_OBJECT

private slots:
    // As the program starts: Qt's texts in Serbian, the classic palette.
    void initTestCase()
    {
        kaldora::forms::prepareApplication(
            *qobject_cast<QApplication*>(QCoreApplication::instance()));
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 classicPalette().color(QPalette::Window));
    }
    void contextMenusAreSerbian_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("a reading") << "Form2"
                                   << "Text1" << kBoxMenu;
        QTest::newRow("a result") << "Form2"
                                  << "Text28" << kBoxMenu;
        QTest::newRow("meter type") << "Form2"
                                    << "Combo1" << kBoxMenu;
        QTest::newRow("date of the reading") << "Form2"
                                             << "DTPicker1" << kPickerMenu;
        QTest::newRow("a price") << "Form1"
                                 << "Text13" << kBoxMenu;
    }
    void contextMenusAreSerbian()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QStringList, entries);
        Form2Harness h(day(2025, 1, 15));
        QWidget* target = kaldora::tests::openControl(h, window, control);
        QVERIFY(target != nullptr);
        target->setFocus(Qt::MouseFocusReason);
        const MenuEntries menu = contextMenuOf(target);
        QCOMPARE(menu.texts, entries);
        // No two entries of a menu share their access key.
        QStringList keys = menu.keys;
        keys.removeDuplicates();
        QCOMPARE(keys.size(), menu.keys.size());
    }

    // The drop-down calendar names months and days in Serbian Latin, in
    // capitals without diacritics; Qt would give Cyrillic for sr_RS@latin.
    void calendarIsSerbianLatin()
    {
        Form2Harness h(day(2025, 1, 15));
        auto* picker = h.form()->control<kaldora::forms::DatePicker>("DTPicker1");
        // Opened as a user opens it, with a click on the arrow: the pop-up
        // shows the program's calendar, not one that QDateEdit makes.
        h.form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.form()));
        QTest::mouseClick(picker, Qt::LeftButton, {},
                          QPoint(picker->width() - 4, picker->height() / 2));
        auto* calendar = qobject_cast<Calendar*>(picker->calendarWidget());
        QVERIFY(calendar != nullptr);
        QTRY_VERIFY(calendar->isVisible());
        QCOMPARE(picker->calendar(), calendar);
        calendar->window()->hide();
        QCOMPARE(calendar->locale().language(), QLocale::Serbian);
        QCOMPARE(calendar->locale().script(), QLocale::LatinScript);
        QCOMPARE(calendar->firstDayOfWeek(), Qt::Monday);

        calendar->setCurrentPage(2025, 1);
        auto* month = calendar->findChild<QToolButton*>("qt_calendar_monthbutton");
        QVERIFY(month != nullptr);
        // The locale's name, drawn in capitals: "JANUAR".
        QCOMPARE(month->text(), QStringLiteral("januar"));
        QCOMPARE(month->font().capitalization(), QFont::AllUppercase);
        QStringList months;
        for (QAction* action : month->menu()->actions()) {
            months << action->text();
        }
        QCOMPARE(months.size(), 12);
        QCOMPARE(months.first(), QStringLiteral("januar"));
        QCOMPARE(months.last(), QStringLiteral("decembar"));
        QCOMPARE(month->menu()->font().capitalization(), QFont::AllUppercase);

        QStringList days;
        for (int column = 0; column < 7; ++column) {
            days << calendar->dayHeader(column);
        }
        QCOMPARE(days, QStringList({"PON", "UTO", "SRE", "CET", "PET", "SUB", "NED"}));
    }

    void plainCapitals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("plain");
        QTest::newRow("month") << "avgust"
                               << "AVGUST";
        QTest::newRow("c with caron") << QString::fromUtf8("čet") << "CET";
        QTest::newRow("every Serbian Latin letter with a mark")
            << QString::fromUtf8("čćšž ČĆŠŽ") << "CCSZ CCSZ";
        QTest::newRow("dj") << QString::fromUtf8("Đurđevdan") << "DJURDJEVDAN";
        QTest::newRow("already plain") << "PDV 18 %"
                                       << "PDV 18 %";
    }
    void plainCapitals()
    {
        QFETCH(QString, text);
        QFETCH(QString, plain);
        QCOMPARE(Calendar::plainCapitals(text), plain);
    }

    // With a dark palette on the desktop, set before the windows are made,
    // the windows keep the light colours the layout was drawn for.
    void darkDesktopKeepsTheLightWindows_data() { kaldora::tests::addWindowRows(); }
    void darkDesktopKeepsTheLightWindows()
    {
        QFETCH(QString, window);
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&before] { QApplication::setPalette(before); });
        QApplication::setPalette(darkPalette());

        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, window);
        QVERIFY(w != nullptr);
        const QPalette light = classicPalette();
        const QColor black(Qt::black);
        const QList<QColor> boxes = {light.color(QPalette::Base), QColor(0, 128, 0),
                                     QColor(0, 0, 255), QColor(192, 0, 0)};
        QCOMPARE(w->palette().color(QPalette::Window), light.color(QPalette::Window));
        QStringList dark;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const QPalette p = c->palette();
            const QString what = c->objectName() + " (" + c->metaObject()->className() + ")";
            if (qobject_cast<QLabel*>(c) != nullptr) {
                if (p.color(QPalette::WindowText) != black ||
                    (c->autoFillBackground() &&
                     p.color(c->backgroundRole()) != light.color(QPalette::Window))) {
                    dark << what;
                }
            } else if (qobject_cast<QLineEdit*>(c) != nullptr) {
                if (p.color(QPalette::Text) != black || !boxes.contains(p.color(QPalette::Base))) {
                    dark << what;
                }
            } else if (qobject_cast<QPushButton*>(c) != nullptr ||
                       qobject_cast<QComboBox*>(c) != nullptr) {
                if (p.color(QPalette::ButtonText) != black ||
                    p.color(QPalette::Button) != light.color(QPalette::Button)) {
                    dark << what;
                }
            }
        }
        QVERIFY2(dark.isEmpty(), qPrintable(dark.join(", ")));
        if (auto* form2 = qobject_cast<kaldora::main_window::Form2*>(w)) {
            for (QAction* menu : form2->menuBar()->actions()) {
                QCOMPARE(menu->menu()->palette().color(QPalette::Window),
                         light.color(QPalette::Window));
            }
        }
    }
};

int runLanguageAndLookTest(int argc, char** argv)
{
    LanguageAndLookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_languageandlook.moc"
