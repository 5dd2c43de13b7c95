// What a screen reader says of the three windows: every control a user can
// reach has a name built from the captions that describe it, never its
// value, and no two controls of a window sound the same.

#include "form2harness.h"
#include "windowsuite.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

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

// The controls of the window's keyboard order. The parts inside a control
// take the focus in its stead, and pop-ups are windows of their own.
QList<QWidget*> keyboardOrder(QWidget* window)
{
    QList<QWidget*> controls;
    QWidget* first = window->nextInFocusChain();
    QWidget* c = first;
    do {
        if ((c->focusPolicy() & Qt::TabFocus) && c->focusProxy() == nullptr &&
            c->window() == window) {
            controls << c;
        }
        c = c->nextInFocusChain();
    } while (c != first);
    return controls;
}

// A label's caption as a name carries it: without the colon it ends in.
QString captionText(const QLabel* label)
{
    QString text = label->text().simplified();
    if (text.endsWith(QLatin1Char(':'))) {
        text.chop(1);
    }
    return text;
}

// The zone a box's colour shows: green 1, blue 2, red 3; "?" for another
// colour, none for a box that is not coloured.
QString zoneOf(const QWidget* box)
{
    const QColor colour = box->palette().color(QPalette::Base);
    if (colour.hsvSaturation() < 128) {
        return {};
    }
    const int hue = colour.hsvHue();
    const auto near = [hue](int centre) { return std::abs((hue - centre + 540) % 360 - 180) < 30; };
    const QString zone = near(120) ? "1" : near(240) ? "2" : near(0) ? "3" : "?";
    return QStringLiteral("ZONA ") + zone;
}

// The captions the screen shows for `control` (see namesFromTheCaptions).
QStringList captionsOnScreen(QWidget* window, QWidget* control)
{
    QStringList captions;
    if (auto* button = qobject_cast<QAbstractButton*>(control);
        button != nullptr && !button->text().isEmpty()) {
        captions << QString(button->text()).remove(QLatin1Char('&'));
    }
    const QRect place = control->geometry();
    QStringList header;
    QStringList row;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() == control) {
            captions << captionText(label);
        }
        if (label->parentWidget() != control->parentWidget() || label->text().isEmpty()) {
            continue;
        }
        if (label->geometry().top() == 0 && label->geometry().left() == place.left()) {
            header << captionText(label);
        } else if (label->geometry().top() == place.top() &&
                   label->geometry().right() < place.left()) {
            row << captionText(label);
        }
    }
    if (!header.isEmpty() && !row.isEmpty()) {
        captions << header << row;
        if (const QString zone = zoneOf(control); !zone.isEmpty()) {
            captions << zone;
        }
    }
    captions.removeDuplicates();
    return captions;
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

// What an arrow button draws: which way its triangle points, and whether a
// bar stands with it.
struct Arrow {
    bool pointsLeft = false;
    bool withBar = false;
};

// Reads the arrow off the button's picture. Per column of the middle part
// (the frame lies at the edges), the pixels nearer the ink than the face
// count: a triangle's columns grow from its tip to its base, a bar's are
// all as high as the glyph, over a good share of its width.
std::optional<Arrow> drawnArrow(QToolButton* button)
{
    const QImage picture = button->grab().toImage();
    const int ink = qGray(button->palette().color(QPalette::ButtonText).rgb());
    const int face = qGray(button->palette().color(QPalette::Button).rgb());
    const QRect middle = picture.rect().adjusted(picture.width() / 5, picture.height() / 5,
                                                 -picture.width() / 5, -picture.height() / 5);
    std::vector<int> heights;
    for (int x = middle.left(); x <= middle.right(); ++x) {
        int height = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y) {
            const int grey = qGray(picture.pixel(x, y));
            height += std::abs(grey - ink) < std::abs(grey - face) ? 1 : 0;
        }
        if (height > 0 || !heights.empty()) {
            heights.push_back(height);
        }
    }
    while (!heights.empty() && heights.back() == 0) {
        heights.pop_back();
    }
    if (heights.size() < 8) {
        return std::nullopt;
    }
    const int tallest = *std::max_element(heights.begin(), heights.end());
    // The longest run of columns of the glyph's full height.
    std::size_t runStart = 0, runLength = 0;
    for (std::size_t x = 0, start = 0; x < heights.size(); ++x) {
        if (heights[x] * 20 < tallest * 19) {
            start = x + 1;
        } else if (x + 1 - start > runLength) {
            runStart = start;
            runLength = x + 1 - start;
        }
    }
    // A bar stands at the tip; without one the tip is the lower end.
    Arrow arrow;
    arrow.withBar = runLength * 5 >= heights.size();
    arrow.pointsLeft =
        arrow.withBar ? runStart < heights.size() / 2 : heights.front() < heights.back();
    return arrow;
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

    // A control sounds as the screen shows it: its name carries the caption
    // of every label that is its buddy; in a grid (a label heads its column
    // at the top, labels stand on its row to its left) also those captions
    // and the zone its colour shows; a button says its caption without the
    // access key. A control that holds a value has at least
    // one such caption, and the parts that take the focus in its stead, or
    // drop down from it, say its name.
    void namesFromTheCaptions_data() { kaldora::tests::addWindowRows(); }
    void namesFromTheCaptions()
    {
        QFETCH(QString, window);
        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, window);
        QVERIFY(w != nullptr);
        QStringList problems;
        for (QWidget* control : keyboardOrder(w)) {
            const QString name = spokenName(control);
            const QStringList captions = captionsOnScreen(w, control);
            if (captions.isEmpty() && shownValue(control)) {
                problems << describe(control) + ": no caption on screen";
            }
            for (const QString& caption : captions) {
                if (!name.contains(caption)) {
                    problems << describe(control) + ": \"" + name + "\" lacks \"" + caption + "\"";
                }
            }
            QList<QWidget*> parts;
            for (QWidget* inner : control->findChildren<QWidget*>()) {
                if (inner->focusProxy() == control) {
                    parts << inner;
                }
            }
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                parts << combo->view();
            }
            for (QWidget* part : parts) {
                if (spokenName(part) != name) {
                    problems << describe(part) + " says \"" + spokenName(part) + "\", not \"" +
                                    name + "\"";
                }
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
    }

    // The price list's navigation buttons show nothing but arrows; each
    // says the move its arrow shows. They are drawn large, so that the
    // picture can be read.
    void navigationArrowsSayTheMoveTheyShow()
    {
        Form2Harness h(day(2025, 1, 15));
        QWidget* w = openWindow(h, QStringLiteral("Form1"));
        QVERIFY(w != nullptr);
        auto* bar = w->findChild<QWidget*>(QStringLiteral("Adodc1"));
        QVERIFY(bar != nullptr);
        bar->resize(bar->width(), 200);
        const QList<QToolButton*> buttons = bar->findChildren<QToolButton*>();
        QCOMPARE(buttons.size(), qsizetype(4));
        QStringList said;
        for (QToolButton* button : buttons) {
            const auto arrow = drawnArrow(button);
            QVERIFY2(arrow, qPrintable(button->objectName()));
            const QString name = arrow->pointsLeft
                                     ? (arrow->withBar ? "PRVI ZAPIS" : "PRETHODNI ZAPIS")
                                     : (arrow->withBar ? "POSLEDNJI ZAPIS" : "SLEDECI ZAPIS");
            QCOMPARE(spokenName(button), name);
            said << name;
        }
        said.removeDuplicates();
        QCOMPARE(said.size(), qsizetype(4));
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
        for (QWidget* c : keyboardOrder(w)) {
            names << spokenName(c);
        }
        QCOMPARE(names.size(), controls);
        QStringList distinct = names;
        distinct.removeDuplicates();
        QCOMPARE(distinct.size(), names.size());
    }
};

int runAccessibilityTest(int argc, char** argv)
{
    AccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_accessibility.moc"
