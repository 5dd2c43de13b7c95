// The main window as it opens: every control where the layout puts it, in its
// font and colour, the keyboard order, the menus and the initial texts.

#include "form2harness.h"
#include "forms/classicpalette.h"
#include "forms/formlayout.h"
#include "main_window/form2layout.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using kaldora::forms::ControlKind;
using kaldora::forms::ControlSpec;
using kaldora::main_window::form2Controls;
using kaldora::main_window::form2Menus;
using kaldora::tests::Form2Harness;
using kaldora::tests::ModalWatchdog;

namespace {

const QStringList kKeyboardOrder = {
    "Text22",    "Text21",   "Text20",   "Text19", "Text18", "Text17", "Text16", "Text15",
    "Text14",    "Text13",   "Text12",   "Text11", "Text10", "Text9",  "Text8",  "Text7",
    "Text6",     "Text3",    "Command2", "Combo2", "Combo1", "Text4",  "Text5",  "Text2",
    "Text1",     "Text23",   "Text24",   "Text25", "Text26", "Text27", "Text28", "DTPicker1",
    "DTPicker2", "Command1", "Text29",   "Text30", "Text31", "Text32"};

// The control of the layout that holds the focus: the focus may sit on an
// inner part, such as the edit field of a combo box.
QString focusedControl()
{
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (kKeyboardOrder.contains(w->objectName())) {
            return w->objectName();
        }
    }
    return QStringLiteral("<none>");
}

QString captionOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        return frame->title();
    }
    return {};
}

} // namespace

class Form2LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_watchdog = std::make_unique<ModalWatchdog>(); }
    void cleanup()
    {
        QVERIFY2(m_watchdog->caught().isEmpty(), qPrintable(m_watchdog->caught().join(", ")));
        m_watchdog.reset();
    }

    void windowCaptionAndClientArea()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        QCOMPARE(h.form()->windowTitle(), QStringLiteral("KALDORA"));
        QCOMPARE(h.form()->centralWidget()->size(), QSize(1045, 701));
        QVERIFY(h.form()->centralWidget()->geometry().top() >= h.form()->menuBar()->height());
        const Qt::WindowFlags flags = h.form()->windowFlags();
        QVERIFY(flags.testFlag(Qt::Window));
        QVERIFY(!flags.testFlag(Qt::Dialog));
    }

    // Every row of the table becomes one widget with the row's name, place,
    // caption, font and colour.
    void everyControlFollowsTheTable()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        int seen = 0;
        for (const ControlSpec& entry : form2Controls()) {
            const QString key = kaldora::forms::controlKey(entry);
            QWidget* w = h.form()->control(key);
            QVERIFY2(w != nullptr, qPrintable(key));
            QCOMPARE(w->objectName(), QString::fromLatin1(entry.name));
            const QString parent = entry.parent ? QString::fromLatin1(entry.parent) : "client";
            QCOMPARE(w->parentWidget()->objectName(), parent);
            if (entry.kind == ControlKind::Line) {
                const QRect line(kaldora::forms::toPixels(entry.left),
                                 kaldora::forms::toPixels(entry.top),
                                 kaldora::forms::toPixels(entry.width - entry.left), 1);
                QCOMPARE(w->geometry(), line);
            } else {
                QCOMPARE(w->geometry(), kaldora::forms::twipsRect(entry.left, entry.top,
                                                                  entry.width, entry.height));
                QCOMPARE(w->font().pointSizeF(), entry.font.points);
                QCOMPARE(w->font().bold(), entry.font.bold);
                QCOMPARE(w->font().underline(), entry.font.underline);
            }
            if (entry.caption != nullptr) {
                QCOMPARE(captionOf(w), QString::fromUtf8(entry.caption));
            }
            if (entry.background != kaldora::forms::Colour::Default) {
                const QColor expected = kaldora::forms::colourValue(entry.background);
                QCOMPARE(w->palette().color(w->backgroundRole()), expected);
                if (entry.kind == ControlKind::TextBox) {
                    QCOMPARE(w->palette().color(QPalette::Base), expected);
                }
            }
            if (entry.index >= 0) {
                QCOMPARE(w->property("index").toInt(), entry.index);
            }
            ++seen;
        }
        // 28 labels less Label20 counted six times, 32 boxes, 3 frames, two
        // combos, pickers and buttons, one line.
        QCOMPARE(seen, 27 + 6 + 32 + 3 + 2 + 2 + 2 + 1);
    }

    // Places read off the window's drawing, converted by hand at 15 twips
    // per pixel, independent of the table.
    void placesFromTheDrawing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Frame1") << "Frame1"
                                << "client" << QRect(0, 8, 449, 153);
        QTest::newRow("Frame3") << "Frame3"
                                << "client" << QRect(0, 328, 449, 129);
        QTest::newRow("Text1") << "Text1"
                               << "Frame1" << QRect(104, 48, 129, 25);
        QTest::newRow("Label4") << "Label4"
                                << "Frame2" << QRect(240, 32, 201, 41);
        QTest::newRow("DTPicker2") << "DTPicker2"
                                   << "Frame2" << QRect(248, 88, 185, 25);
        QTest::newRow("Combo1") << "Combo1"
                                << "Frame3" << QRect(152, 24, 129, 24);
        QTest::newRow("Combo2") << "Combo2"
                                << "Frame3" << QRect(152, 56, 129, 28);
        QTest::newRow("Label15") << "Label15"
                                 << "client" << QRect(568, 0, 129, 33);
        QTest::newRow("Label11") << "Label11"
                                 << "client" << QRect(456, 128, 97, 33);
        QTest::newRow("Text3") << "Text3"
                               << "client" << QRect(568, 40, 129, 33);
        QTest::newRow("Text17") << "Text17"
                                << "client" << QRect(872, 40, 129, 33);
        QTest::newRow("Text14") << "Text14"
                                << "client" << QRect(720, 168, 129, 33);
        QTest::newRow("Text22") << "Text22"
                                << "client" << QRect(872, 256, 129, 33);
        QTest::newRow("Label20(0)") << "Label20(0)"
                                    << "client" << QRect(456, 304, 393, 33);
        QTest::newRow("Label20(5)") << "Label20(5)"
                                    << "client" << QRect(456, 504, 393, 33);
        QTest::newRow("Text28") << "Text28"
                                << "client" << QRect(872, 496, 129, 33);
        QTest::newRow("Text32") << "Text32"
                                << "client" << QRect(80, 592, 137, 33);
        QTest::newRow("Label28") << "Label28"
                                 << "client" << QRect(224, 592, 57, 33);
        QTest::newRow("Line1") << "Line1"
                               << "client" << QRect(8, 544, 240, 1);
        QTest::newRow("Command1") << "Command1"
                                  << "client" << QRect(552, 584, 217, 73);
        QTest::newRow("Command2") << "Command2"
                                  << "client" << QRect(792, 584, 217, 73);
    }
    void placesFromTheDrawing()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, pixels);
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QWidget* w = h.form()->control(name);
        QVERIFY(w != nullptr);
        QCOMPARE(w->parentWidget()->objectName(), container);
        QCOMPARE(w->geometry(), pixels);
    }

    void fontsAndColoursFromTheDrawing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<QColor>("zone");
        const QColor none;
        const QColor green(0, 128, 0), blue(0, 0, 255), red(192, 0, 0);
        QTest::newRow("Label1") << "Label1" << 18.0 << true << false << none;
        QTest::newRow("Label3") << "Label3" << 9.75 << true << false << none;
        QTest::newRow("Label7") << "Label7" << 9.75 << false << false << none;
        QTest::newRow("Label23") << "Label23" << 9.75 << false << true << none;
        QTest::newRow("Frame2") << "Frame2" << 12.0 << true << false << none;
        QTest::newRow("Combo1") << "Combo1" << 9.75 << true << false << none;
        QTest::newRow("Combo2") << "Combo2" << 12.0 << true << false << none;
        QTest::newRow("Label20(2)") << "Label20(2)" << 13.5 << true << false << none;
        QTest::newRow("Text29") << "Text29" << 13.5 << true << false << none;
        QTest::newRow("Command2") << "Command2" << 18.0 << true << false << none;
        QTest::newRow("Text6") << "Text6" << 12.0 << true << false << green;
        QTest::newRow("Text12") << "Text12" << 12.0 << true << false << green;
        QTest::newRow("Text7") << "Text7" << 12.0 << true << false << blue;
        QTest::newRow("Text20") << "Text20" << 12.0 << true << false << blue;
        QTest::newRow("Text15") << "Text15" << 12.0 << true << false << red;
        QTest::newRow("Text22") << "Text22" << 12.0 << true << false << red;
    }
    void fontsAndColoursFromTheDrawing()
    {
        QFETCH(QString, name);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, underline);
        QFETCH(QColor, zone);
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QWidget* w = h.form()->control(name);
        QVERIFY(w != nullptr);
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().bold(), bold);
        QCOMPARE(w->font().underline(), underline);
        QVERIFY(!w->font().italic());
        // Where the original face is missing, the metric-compatible stand-in.
        const QString family = QFontInfo(w->font()).family();
        QVERIFY2(family == "MS Sans Serif" || family == "Liberation Sans", qPrintable(family));
        if (zone.isValid()) {
            QCOMPARE(w->palette().color(QPalette::Base), zone);
            // The text keeps the window-text colour on every zone colour.
            QCOMPARE(w->palette().color(QPalette::Text),
                     h.text(23)->palette().color(QPalette::Text));
        }
    }

    // The system colours are the classic palette's, also inside a frame: a
    // frame's own colour does not leak into the boxes it holds.
    void systemColoursInsideFrames()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        const QPalette system = kaldora::forms::classicPalette();
        for (const char* name : {"Text1", "Text2", "Text4", "Text5", "Text23", "Text29"}) {
            QCOMPARE(h.control(name)->palette().color(QPalette::Base),
                     system.color(QPalette::Base));
            QCOMPARE(h.control(name)->palette().color(QPalette::Text),
                     system.color(QPalette::Text));
        }
        for (const char* name : {"Combo1", "Combo2", "DTPicker1", "DTPicker2"}) {
            QCOMPARE(h.control(name)->palette().color(QPalette::Base),
                     system.color(QPalette::Base));
            QCOMPARE(h.control(name)->palette().color(QPalette::Button),
                     system.color(QPalette::Button));
        }
        for (const char* name : {"Label1", "Label4", "Label7", "Label19", "Label23"}) {
            QWidget* label = h.control(name);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(label->backgroundRole()),
                     system.color(QPalette::Button));
        }
    }

    // Nothing may be cut off: every caption fits its label (wrapped where the
    // label wraps) and every button caption its button.
    void captionsFitTheirControls()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        for (QLabel* label : h.form()->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) {
                continue;
            }
            const QString what = label->objectName() + ": " + label->text();
            const QFontMetrics metrics(label->font());
            const QRect needed =
                metrics.boundingRect(QRect(QPoint(0, 0), label->size()),
                                     label->alignment() | Qt::TextWordWrap, label->text());
            QVERIFY2(needed.width() <= label->width(), qPrintable(what));
            if (needed.height() > label->height()) {
                // One line taller than its label: the ink, drawn from the
                // top, must still show whole.
                QVERIFY2(needed.height() <= metrics.lineSpacing(), qPrintable(what));
                const QRect ink = metrics.tightBoundingRect(label->text());
                QVERIFY2(metrics.ascent() + ink.bottom() < label->height(), qPrintable(what));
            }
        }
        for (QPushButton* button : h.form()->findChildren<QPushButton*>()) {
            const int needed = QFontMetrics(button->font()).horizontalAdvance(button->text());
            QVERIFY2(needed < button->width(), qPrintable(button->objectName()));
        }
        // "DATUM PRETHODNOG OCITAVANJA:" is wider than its label and wraps.
        auto* label4 = qobject_cast<QLabel*>(h.control("Label4"));
        const QFontMetrics metrics(label4->font());
        QVERIFY(metrics.horizontalAdvance(label4->text()) > label4->width());
        QVERIFY(label4->heightForWidth(label4->width()) >= 2 * metrics.lineSpacing() - 1);
    }

    void initialState()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        // Right after start only the six prices, taken from the stored price
        // list, are filled in.
        for (int n = 1; n <= 32; ++n) {
            QLineEdit* box = h.text(n);
            QVERIFY2(box != nullptr, qPrintable(QString::number(n)));
            const bool price = n >= 11 && n <= 16;
            QVERIFY2(box->text().isEmpty() != price, qPrintable(box->objectName()));
            QVERIFY(box->isEnabled() && !box->isReadOnly() && !box->isHidden());
            QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
            QVERIFY(box->maxLength() > 1 << 20);
        }
        auto* combo1 = qobject_cast<QComboBox*>(h.control("Combo1"));
        auto* combo2 = qobject_cast<QComboBox*>(h.control("Combo2"));
        QCOMPARE(combo1->currentText(), QStringLiteral("TROFAZNO"));
        QCOMPARE(combo2->currentText(), QStringLiteral("25A"));
        QCOMPARE(combo1->count(), 2);
        QCOMPARE(combo1->itemText(0), QStringLiteral("MONOFAZNO"));
        QCOMPARE(combo1->itemText(1), QStringLiteral("TROFAZNO"));
        QCOMPARE(combo2->count(), 1);
        QCOMPARE(combo2->itemText(0), QStringLiteral("25A"));
        QVERIFY(combo1->isEditable() && combo2->isEditable());
        QCOMPARE(qobject_cast<QLabel*>(h.control("Label18"))->text(), "VRSTA BROJILA");
        QCOMPARE(qobject_cast<QLabel*>(h.control("Label19"))->text(), "AMPERAZA");
        for (const char* name : {"DTPicker1", "DTPicker2"}) {
            auto* picker = qobject_cast<QDateEdit*>(h.control(name));
            QCOMPARE(picker->minimumDate(), QDate(1601, 1, 1));
            QCOMPARE(picker->maximumDate(), QDate(9999, 12, 31));
            QCOMPARE(picker->displayFormat(), QStringLiteral("dd.MM.yyyy"));
            QVERIFY(picker->calendarPopup());
        }
        for (const char* name : {"Command1", "Command2"}) {
            auto* button = qobject_cast<QPushButton*>(h.control(name));
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
        QVERIFY(h.showAndActivate());
        QCOMPARE(focusedControl(), QStringLiteral("Text22"));
    }

    void tabWalksTheKeyboardOrderAndWraps()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        QCOMPARE(focusedControl(), kKeyboardOrder.first());
        for (qsizetype i = 1; i <= kKeyboardOrder.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focusedControl(), kKeyboardOrder[i % kKeyboardOrder.size()]);
        }
    }

    void shiftTabWalksItBackwards()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        for (qsizetype i = 1; i <= kKeyboardOrder.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            const qsizetype expected = (kKeyboardOrder.size() - i) % kKeyboardOrder.size();
            QCOMPARE(focusedControl(), kKeyboardOrder[expected]);
        }
    }

    void resizingMovesNothing()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        QVERIFY(h.showAndActivate());
        QHash<QWidget*, QRect> before;
        for (auto* w : h.form()->centralWidget()->findChildren<QWidget*>()) {
            before.insert(w, w->geometry());
        }
        h.form()->resize(1600, 1000);
        QTRY_COMPARE(h.form()->size(), QSize(1600, 1000));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QCOMPARE(it.key()->geometry(), it.value());
        }
        h.form()->resize(400, 300);
        QTRY_COMPARE(h.form()->size(), QSize(400, 300));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QCOMPARE(it.key()->geometry(), it.value());
        }
    }

    void menus()
    {
        Form2Harness h(kaldora::tests::day(2025, 1, 15));
        const QList<QAction*> bar = h.form()->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->text(), QStringLiteral("GLAVNA OPCIJA"));
        QCOMPARE(bar[0]->menu()->objectName(), QStringLiteral("PRVI"));
        QCOMPARE(bar[1]->text(), QStringLiteral("POMOC"));
        QCOMPARE(bar[1]->menu()->objectName(), QStringLiteral("F"));
        const QStringList first = {"DRU", "CEN", "I"};
        const QStringList firstCaptions = {"OBRACUNAJ", "PROMENI CENOVNIK", "IZLAZ"};
        const QStringList second = {"TRECE", "O"};
        const QStringList secondCaptions = {"O PROGRAMU", "OBAVESTENJE"};
        const auto check = [](QMenu* menu, const QStringList& names, const QStringList& captions) {
            const QList<QAction*> items = menu->actions();
            QCOMPARE(items.size(), names.size());
            for (qsizetype i = 0; i < items.size(); ++i) {
                QCOMPARE(items[i]->objectName(), names[i]);
                QCOMPARE(items[i]->text(), captions[i]);
                QVERIFY(items[i]->shortcut().isEmpty());
                QVERIFY(!items[i]->isCheckable());
                QVERIFY(items[i]->isEnabled() && items[i]->isVisible());
            }
        };
        check(bar[0]->menu(), first, firstCaptions);
        check(bar[1]->menu(), second, secondCaptions);
        QCOMPARE(qsizetype(form2Menus().size()), first.size() + second.size());
        QCOMPARE(h.form()->menuItem("CEN"), bar[0]->menu()->actions()[1]);
    }

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
};

int runForm2LayoutTest(int argc, char** argv)
{
    Form2LayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form2layout.moc"
