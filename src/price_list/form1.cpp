#include "price_list/form1.h"

#include "billing/notice.h"
#include "forms/classicpalette.h"
#include "forms/controllookup.h"
#include "forms/formlayout.h"
#include "platform/apptitle.h"
#include "price_list/form1layout.h"
#include "price_list/navigationbar.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace kaldora::price_list {

namespace {

const char* const kApplied = "CENOVNIK JE IZMENJEN";

QString fieldName(std::size_t row)
{
    return QStringLiteral("Text%1").arg(11 + row);
}

void showMessage(billing::Notice& messages, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    messages.show(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                  platform::kApplicationTitle);
}

} // namespace

Form1::Form1(billing::Notice& messages, const QString& storePath, char decimalSeparator)
    : m_messages(messages)
    , m_store(decimalSeparator)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QLatin1String(Form1Layout::kCaption));
    resize(forms::toPixels(Form1Layout::kClientWidth), forms::toPixels(Form1Layout::kClientHeight));
    // The main window's colours and background, set before any control is
    // made, so that every control starts from them.
    forms::useClassicPalette(this);
    QPalette p = palette();
    p.setColor(QPalette::Window, forms::colourValue(forms::Colour::InactiveCaptionText));
    setPalette(p);
    setAutoFillBackground(true);

    m_controls = forms::buildControls(this, Form1Layout::controls());
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        m_fields[row] = forms::control<QLineEdit>(m_controls, fieldName(row));
    }
    const DataControlSpec& adodc = Form1Layout::dataControl();
    m_navigation = new NavigationBar(QString::fromLatin1(adodc.caption), this);
    m_navigation->setObjectName(QLatin1String(adodc.name));
    m_navigation->setFont(forms::layoutFont(adodc.font));
    m_navigation->setGeometry(forms::twipsRect(adodc.left, adodc.top, adodc.width, adodc.height));
    m_controls.insert(QLatin1String(adodc.name), m_navigation);

    connect(m_navigation, &NavigationBar::firstRequested, this,
            [this] { leaveRecord(PriceListStore::Move::First); });
    connect(m_navigation, &NavigationBar::previousRequested, this,
            [this] { leaveRecord(PriceListStore::Move::Previous); });
    connect(m_navigation, &NavigationBar::nextRequested, this,
            [this] { leaveRecord(PriceListStore::Move::Next); });
    connect(m_navigation, &NavigationBar::lastRequested, this,
            [this] { leaveRecord(PriceListStore::Move::Last); });
    connect(forms::control<QPushButton>(m_controls, "Command1"), &QPushButton::clicked, this,
            &Form1::apply);

    m_fields[0]->setFocus();

    // The fields are filled before anyone can read them.
    m_store.open(storePath);
    showRecord();
    if (!m_store.problem().isEmpty()) {
        report(m_store.problem());
    }
}

Form1::~Form1()
{
    unload(true);
}

void Form1::setPriceTarget(QObject* lifetime, PriceTarget* target)
{
    m_targetLifetime = lifetime;
    m_target = target;
}

PriceTexts Form1::priceTexts() const
{
    PriceTexts texts;
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        texts[row] = m_fields[row]->text();
    }
    return texts;
}

PriceTexts Form1::storedPriceTexts(billing::Notice& messages, const QString& storePath,
                                   char decimalSeparator)
{
    // The very reading the window does when it loads, so both show the same.
    const PriceListStore::FirstRecord first = PriceListStore::readFirstRecord(
        storePath, decimalSeparator, PriceListStore::MissingFile::Create);
    if (!first.problem.isEmpty()) {
        showMessage(messages, first.problem);
    }
    return first.texts;
}

void Form1::apply()
{
    const PriceTexts texts = priceTexts();
    // A main window that the user has closed is not brought back.
    if (m_targetLifetime && m_target != nullptr) {
        m_target->setPriceTexts(texts);
    }
    report(QString::fromLatin1(kApplied));
    close();
}

void Form1::closeEvent(QCloseEvent* event)
{
    unload(true);
    event->accept();
}

std::optional<Form1::Unsaved> Form1::savePending()
{
    return m_unloaded ? std::nullopt : save();
}

std::optional<Form1::Unsaved> Form1::unloadUnattended()
{
    return unload(false);
}

std::optional<Form1::Unsaved> Form1::save()
{
    const PriceTexts texts = priceTexts();
    const PriceListStore::SaveOutcome outcome = m_store.save(texts);
    if (outcome.message.isEmpty()) {
        return std::nullopt;
    }
    return Unsaved{outcome.message, texts};
}

void Form1::leaveRecord(PriceListStore::Move step)
{
    const PriceListStore::SaveOutcome outcome = m_store.save(priceTexts());
    if (!outcome.message.isEmpty()) {
        report(outcome.message);
    }
    // After a refused or failed save the record stays on screen with what
    // the user typed, so that nothing is lost and the save can be tried
    // again.
    if (!outcome.complete) {
        return;
    }
    m_store.move(step);
    showRecord();
}

void Form1::showRecord()
{
    const PriceTexts& texts = m_store.currentTexts();
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        m_fields[row]->setText(texts[row]);
    }
}

std::optional<Form1::Unsaved> Form1::unload(bool reportFailure)
{
    if (m_unloaded) {
        return std::nullopt;
    }
    m_unloaded = true;
    // A window cannot refuse to unload: what cannot be saved now is
    // reported, and the stored record keeps its old values.
    std::optional<Unsaved> unsaved = save();
    m_store.close();
    if (unsaved && reportFailure) {
        report(unsaved->reason);
    }
    return unsaved;
}

void Form1::report(const QString& text)
{
    showMessage(m_messages, text);
}

} // namespace kaldora::price_list
