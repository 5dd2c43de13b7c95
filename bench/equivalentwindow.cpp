// The yardstick of the start-up benchmark: a Qt Widgets program, none of
// KALDORA's code, whose window holds the same kinds and number of controls
// as the main window, in the same fonts: a menu bar with two menus of five
// items, three captioned frames, 33 labels, 32 text boxes, two editable
// combo boxes, two date pickers with a calendar, two buttons and a line,
// placed by hand at fixed places. An empty window would never load a font
// or the menu bar's pictures, and so would measure too little.

#include "startupprobe.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

namespace {

QFont font(double points, bool bold, bool underline = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

struct LabelGroup {
    int count;
    double points;
    bool bold;
    bool underline;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("KALDORA"));
    QMenu* first = window.menuBar()->addMenu(QStringLiteral("GLAVNA OPCIJA"));
    for (const char* item : {"OBRACUNAJ", "PROMENI CENOVNIK", "IZLAZ"}) {
        first->addAction(QString::fromLatin1(item));
    }
    QMenu* second = window.menuBar()->addMenu(QStringLiteral("POMOC"));
    for (const char* item : {"O PROGRAMU", "OBAVESTENJE"}) {
        second->addAction(QString::fromLatin1(item));
    }

    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    int y = 0;
    for (const char* caption : {"NOVO STANJE", "STARO STANJE", "VRSTA BROJILA I AMPERAZA"}) {
        auto* frame = new QGroupBox(QString::fromLatin1(caption), client);
        frame->setFont(font(12, true));
        frame->setGeometry(0, 8 + y, 449, 150);
        y += 160;
    }
    const LabelGroup labels[] = {{4, 18, true, false},
                                 {2, 9.75, true, false},
                                 {4, 9.75, false, false},
                                 {21, 13.5, true, false},
                                 {2, 9.75, false, true}};
    int n = 0;
    for (const LabelGroup& group : labels) {
        for (int i = 0; i < group.count; ++i, ++n) {
            auto* label = new QLabel(QStringLiteral("OZNAKA %1:").arg(n), client);
            label->setFont(font(group.points, group.bold, group.underline));
            label->setWordWrap(true);
            label->setAutoFillBackground(true);
            label->setGeometry(460 + (n % 3) * 190, (n / 3) * 36, 180, 33);
        }
    }
    for (int i = 0; i < 32; ++i) {
        auto* box = new QLineEdit(client);
        box->setFont(font(i < 28 ? 12 : 13.5, true));
        box->setAlignment(Qt::AlignHCenter);
        box->setGeometry(10 + (i % 4) * 110, 500 + (i / 4) * 22, 100, 20);
    }
    for (int i = 0; i < 2; ++i) {
        auto* combo = new QComboBox(client);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("MONOFAZNO"), QStringLiteral("TROFAZNO")});
        combo->setFont(font(i == 0 ? 9.75 : 12, true));
        combo->setGeometry(150, 360 + i * 32, 129, 24);

        auto* picker = new QDateEdit(QDate::currentDate(), client);
        picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        picker->setCalendarPopup(true);
        picker->setFont(font(12, true));
        picker->setGeometry(248, 88 + i * 160, 177, 25);

        auto* button =
            new QPushButton(i == 0 ? QStringLiteral("OBRACUNAJ") : QStringLiteral("IZLAZ"), client);
        button->setFont(font(18, true));
        button->setGeometry(552 + i * 240, 584, 217, 73);
    }
    auto* line = new QWidget(client);
    line->setGeometry(8, 544, 240, 1);

    window.resize(1045, 701 + window.menuBar()->sizeHint().height());
    StartupProbe probe(&window);
    window.show();
    return application.exec();
}
