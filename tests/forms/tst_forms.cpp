// The layout engine's conversion of twips to pixels and the typed look-up of
// a built window's controls. The widgets it builds are checked through the
// windows' own tables, which use every kind of control.

#include "forms/controllookup.h"
#include "forms/datepicker.h"
#include "forms/formlayout.h"
#include "forms/layoutentries.h"
#include "support/qttestmain.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <array>
#include <stdexcept>

using namespace kaldora::forms;

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    void twipsToPixels_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("under half a pixel") << 7 << 0;
        QTest::newRow("half a pixel and more") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("client width") << 15675 << 1045;
        QTest::newRow("client height") << 10515 << 701;
        QTest::newRow("negative, under half") << -7 << 0;
        QTest::newRow("negative, half and more") << -8 << -1;
    }
    void twipsToPixels()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(toPixels(twips), pixels);
    }

    // The look-up hands out the control as the kind the code asks for.
    void lookUpFindsTheControlAsItsKind()
    {
        QWidget client;
        const Controls controls = buildControls(&client, kWindow);
        QCOMPARE(control<QLineEdit>(controls, "Text1")->objectName(), QStringLiteral("Text1"));
        QCOMPARE(control<QPushButton>(controls, "Command1")->text(), QStringLiteral("OK"));
        // A more general kind is fine: a combo box is a widget.
        QCOMPARE(control<QWidget>(controls, QStringLiteral("Combo1")),
                 controls.value(QStringLiteral("Combo1")));
    }

    // A table and code that disagree fail loudly, naming the control and the
    // kind the code expected, instead of handing out null.
    void lookUpFailsLoudly_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("no such name") << "Text2"
                                      << "QLineEdit" << QStringList{"Text2", "QLineEdit"};
        QTest::newRow("name of another case") << "text1"
                                              << "QLineEdit" << QStringList{"text1", "QLineEdit"};
        QTest::newRow("label asked for as a box")
            << "Label1"
            << "QLineEdit" << QStringList{"Label1", "QLabel", "QLineEdit"};
        QTest::newRow("box asked for as a button")
            << "Text1"
            << "QPushButton" << QStringList{"Text1", "QLineEdit", "QPushButton"};
        QTest::newRow("combo box asked for as its line edit")
            << "Combo1"
            << "QLineEdit" << QStringList{"Combo1", "ComboBox", "QLineEdit"};
    }
    void lookUpFailsLoudly()
    {
        QFETCH(QString, key);
        QFETCH(QString, kind);
        QFETCH(QStringList, named);
        QWidget client;
        const Controls controls = buildControls(&client, kWindow);
        QString message;
        try {
            if (kind == "QLineEdit") {
                control<QLineEdit>(controls, key);
            } else {
                control<QPushButton>(controls, key);
            }
        } catch (const std::logic_error& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(!message.isEmpty(), "no exception");
        for (const QString& word : named) {
            QVERIFY2(message.contains(word), qPrintable(message));
        }
    }

    // Text is drawn as the layout means it in the faces and sizes the
    // windows use: the space between two words shows, and bold is heavier
    // than regular. (Under Wine, Qt's GDI font engine ran the words of the
    // about dialog's caption together and drew the bold results regular;
    // the program draws with the engine that these checks pass with.)
    void textKeepsItsSpacesAndItsWeight_data()
    {
        QTest::addColumn<double>("points");
        QTest::newRow("captions") << 8.25;
        QTest::newRow("menus and frames") << 9.75;
        QTest::newRow("results") << 12.0;
    }
    void textKeepsItsSpacesAndItsWeight()
    {
        QFETCH(double, points);
        const QFont regular = layoutFont({points, false, false});
        const QFont bold = layoutFont({points, true, false});
        // The space between the words takes room of its own.
        const int space = inkWidth(regular, QStringLiteral("IZRACUNAVA MESECNI")) -
                          inkWidth(regular, QStringLiteral("IZRACUNAVAMESECNI"));
        QVERIFY2(space >= 2,
                 qPrintable(QStringLiteral("the words run together (%1 px apart)").arg(space)));
        QVERIFY2(ink(bold, QStringLiteral("MESECNI")) >=
                     1.2 * ink(regular, QStringLiteral("MESECNI")),
                 "bold is drawn regular");
    }

    // A click into the day, month or year (the cursor lands at `position` of
    // "08.12.2026") and the digits typed next give that part of the date,
    // wherever in its digits the click fell, as in the date pickers of
    // Windows.
    void typingAfterAClickReplacesThePartClickedOn_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("day, before its first digit") << 0 << "15" << QDate(2026, 12, 15);
        QTest::newRow("day, between its digits") << 1 << "15" << QDate(2026, 12, 15);
        QTest::newRow("month, after its last digit") << 5 << "03" << QDate(2026, 3, 8);
        QTest::newRow("year, between its digits") << 8 << "2025" << QDate(2025, 12, 8);
    }
    void typingAfterAClickReplacesThePartClickedOn()
    {
        QFETCH(int, position);
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        DatePicker picker;
        picker.setDate(QDate(2026, 12, 8));
        picker.resize(200, 30);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        // A point of the text that puts the cursor at `position`.
        auto* line = picker.findChild<QLineEdit*>();
        QVERIFY(line != nullptr);
        int x = 0;
        while (x < line->width() && line->cursorPositionAt(QPoint(x, 0)) != position) {
            ++x;
        }
        QVERIFY(x < line->width());
        QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(x, line->height() / 2));
        QTest::keyClicks(&picker, typed);
        QCOMPARE(picker.date(), expected);
    }

private:
    static QImage drawn(const QFont& font, const QString& text)
    {
        QImage image(400, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(4, 40, text);
        return image;
    }
    // From the text's first inked pixel column to its last.
    static int inkWidth(const QFont& font, const QString& text)
    {
        const QImage image = drawn(font, text);
        int first = -1;
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) < 160) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        return last - first;
    }
    // How much ink the text takes: the darkness of all its pixels.
    static double ink(const QFont& font, const QString& text)
    {
        const QImage image = drawn(font, text);
        double sum = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                sum += 255 - qGray(image.pixel(x, y));
            }
        }
        return sum;
    }

    static constexpr std::array kWindow = {
        label("Label1", "V.T:", {0, 0, 600, 300}, {}, Align::Left, Colour::Default),
        textBox("Text1", {600, 0, 900, 300}, {}, Colour::Window, 0, kClientArea, "V.T."),
        entry("Combo1", ControlKind::ComboBox, nullptr, {0, 300, 900, 300}, {}, Align::Left,
              Colour::Default, 1),
        button("Command1", "OK", {0, 600, 900, 300}, {}, 2),
    };
};

KALDORA_TEST_MAIN(FormsTest)

#include "tst_forms.moc"
