#include "main_window/form2.h"

#include "forms/classicpalette.h"
#include "forms/controllookup.h"
#include "forms/formlayout.h"
#include "main_window/form2layout.h"
#include "main_window/form2sheet.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace kaldora::main_window {

namespace {

const QString kCaption = QStringLiteral("KALDORA");

// Lists of the two combo boxes, in the order shown, and their first texts.
const QStringList kMeterTypes = {QStringLiteral("MONOFAZNO"), QStringLiteral("TROFAZNO")};
const QString kInitialMeterType = QStringLiteral("TROFAZNO");
const QStringList kAmperages = {QStringLiteral("25A")};
const QString kInitialAmperage = QStringLiteral("25A");

// The previous reading is taken to lie one month back.
constexpr std::chrono::days kDefaultPeriod{30};

// The key of the control that has the focus when the window opens.
const char* const kFirstFocus = "Text22";

// The initial text is one of the entries, and that entry is the current one,
// so that the arrow keys and the dropped-down list start from it.
void fillCombo(QComboBox* combo, const QStringList& entries, const QString& initial)
{
    combo->addItems(entries);
    combo->setCurrentIndex(static_cast<int>(entries.indexOf(initial)));
}

} // namespace

Form2::Form2(const Services& services, QWidget* parent)
    : QMainWindow(parent)
    , m_clock(services.clock)
    , m_numbers(services.decimalSeparator)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    // Before any control is made, so that every control starts from it.
    forms::useClassicPalette(this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, forms::colourValue(forms::Colour::InactiveCaptionText));
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    m_controls = forms::buildControls(client, form2Controls());

    fillCombo(forms::control<QComboBox>(m_controls, "Combo1"), kMeterTypes, kInitialMeterType);
    fillCombo(forms::control<QComboBox>(m_controls, "Combo2"), kAmperages, kInitialAmperage);

    createMenus();
    m_sheet = std::make_unique<Form2Sheet>(m_controls);
    m_obracun = std::make_unique<billing::Obracun>(*m_sheet, m_numbers, services.messages);
    connectCommands();

    // The client area has its size from the layout; the menu bar comes on top,
    // as high as the window's layout makes it for that width (on Windows that
    // includes a line of space below it, which its size hint leaves out).
    const QSize clientSize(forms::toPixels(kClientWidthTwips), forms::toPixels(kClientHeightTwips));
    int menuBarHeight = menuBar()->heightForWidth(clientSize.width());
    if (menuBarHeight < 0) {
        menuBarHeight = menuBar()->sizeHint().height();
    }
    resize(clientSize.width(), clientSize.height() + menuBarHeight);
    forms::control<QLineEdit>(m_controls, kFirstFocus)->setFocus(Qt::OtherFocusReason);
}

Form2::~Form2() = default;

void Form2::createMenus()
{
#ifdef Q_OS_WIN
    // Windows names its menu font in the user's display settings, and Qt
    // takes it over again whenever those change; it may be a face that is
    // missing (under Wine the menus fell back to a serif one). The menu bar
    // and its menus keep the layout's face instead.
    menuBar()->setFont(forms::layoutFont(kMenuFont));
#endif
    QMenu* menu = nullptr;
    for (const MenuItemSpec& entry : form2Menus()) {
        const QString menuName = QString::fromLatin1(entry.menuName);
        if (menu == nullptr || menu->objectName() != menuName) {
            menu = menuBar()->addMenu(QString::fromUtf8(entry.menuCaption));
            menu->setObjectName(menuName);
            // A menu is a window of its own; it takes the main window's
            // palette (and font) only when told to.
            menu->setAttribute(Qt::WA_WindowPropagation);
        }
        QAction* item = menu->addAction(QString::fromUtf8(entry.caption));
        item->setObjectName(QString::fromLatin1(entry.name));
        m_menuItems.insert(item->objectName(), item);
    }
}

void Form2::connectCommands()
{
    // The menu items OBRACUNAJ and IZLAZ do what the buttons of the same
    // captions do. OBAVESTENJE has no command.
    connect(forms::control<QPushButton>(m_controls, "Command1"), &QPushButton::clicked, this,
            &Form2::obracunaj);
    connect(m_menuItems.value(QStringLiteral("DRU")), &QAction::triggered, this, &Form2::obracunaj);
    connect(forms::control<QPushButton>(m_controls, "Command2"), &QPushButton::clicked, this,
            &QWidget::close);
    connect(m_menuItems.value(QStringLiteral("I")), &QAction::triggered, this, &QWidget::close);

    // Only a pick from the list is echoed; typing into the edit part is not
    // a pick, and QComboBox reports typing through other signals.
    auto* combo1 = forms::control<QComboBox>(m_controls, "Combo1");
    auto* combo2 = forms::control<QComboBox>(m_controls, "Combo2");
    auto* label18 = forms::control<QLabel>(m_controls, "Label18");
    auto* label19 = forms::control<QLabel>(m_controls, "Label19");
    connect(combo1, &QComboBox::activated, this, [=, this] { echoPick(combo1, label18); });
    connect(combo2, &QComboBox::activated, this, [=, this] { echoPick(combo2, label19); });
}

void Form2::startUp()
{
    m_sheet->setDate(billing::DateField::DTPicker1, m_clock.today());
    m_sheet->setDate(billing::DateField::DTPicker2, m_clock.today() - kDefaultPeriod);
}

void Form2::obracunaj()
{
    m_obracun->run();
}

void Form2::echoPick(QComboBox* combo, QLabel* label)
{
    label->setText(combo->currentText());
}

billing::BillSheet& Form2::sheet()
{
    return *m_sheet;
}

void Form2::setPriceTexts(const price_list::PriceTexts& texts)
{
    for (std::size_t row = 0; row < texts.size(); ++row) {
        m_sheet->setText(billing::kPriceFields[row], texts[row].toStdString());
    }
}

QAction* Form2::menuItem(const QString& name) const
{
    return m_menuItems.value(name);
}

} // namespace kaldora::main_window
