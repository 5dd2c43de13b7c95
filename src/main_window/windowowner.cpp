#include "main_window/windowowner.h"

#include "forms/showinfront.h"

#include <QAction>
#include <QApplication>

#include <algorithm>

namespace kaldora::main_window {

WindowOwner::WindowOwner(const Form2::Services& services, const platform::OsServices& os,
                         const QString& priceListPath, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_priceListPath(priceListPath)
    , m_about(os, services.messages)
{
}

WindowOwner::~WindowOwner()
{
    for (const QPointer<QWidget>& window : m_windows) {
        delete window.data();
    }
}

Form2* WindowOwner::form2()
{
    if (m_form2.isNull()) {
        m_form2 = new Form2(m_services);
        adopt(m_form2);
        connect(m_form2, &QObject::destroyed, this, &WindowOwner::mainWindowGone);
        connect(m_form2->menuItem(QStringLiteral("CEN")), &QAction::triggered, this,
                &WindowOwner::showPriceList);
        connect(m_form2->menuItem(QStringLiteral("TRECE")), &QAction::triggered, this,
                &WindowOwner::showAbout);
        // The prices come straight from the store, as the price-list window
        // would show them, so no hidden price-list window is left loaded.
        m_form2->setPriceTexts(price_list::Form1::storedPriceTexts(
            m_services.messages, m_priceListPath, m_services.decimalSeparator));
        m_form2->startUp();
    }
    return m_form2;
}

price_list::Form1* WindowOwner::showPriceList()
{
    if (m_form1.isNull()) {
        m_form1 = new price_list::Form1(m_services.messages, m_priceListPath,
                                        m_services.decimalSeparator);
        adopt(m_form1);
        if (!m_form2.isNull()) {
            m_form1->setPriceTarget(m_form2.data());
        }
    }
    forms::showInFront(*m_form1);
    return m_form1;
}

about::frmAbout* WindowOwner::showAbout()
{
    about::frmAbout& dialog = m_about.show();
    adopt(&dialog);
    return &dialog;
}

std::optional<price_list::Form1::Unsaved> WindowOwner::savePendingEdits()
{
    return m_form1.isNull() ? std::nullopt : m_form1->savePending();
}

std::optional<price_list::Form1::Unsaved> WindowOwner::closeUnattended()
{
    std::optional<price_list::Form1::Unsaved> unsaved;
    if (!m_form1.isNull()) {
        unsaved = m_form1->unloadUnattended();
    }
    QApplication::closeAllWindows();
    return unsaved;
}

void WindowOwner::adopt(QWidget* window)
{
    std::erase_if(m_windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
    if (std::find(m_windows.begin(), m_windows.end(), window) != m_windows.end()) {
        return;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.emplace_back(window);
}

void WindowOwner::mainWindowGone(QObject* mainWindow)
{
    // Windows on screen stay usable; the application ends when the last of
    // them is closed.
    for (const QPointer<QWidget>& window : m_windows) {
        if (!window.isNull() && window.data() != mainWindow && !window->isVisible()) {
            window->close();
        }
    }
}

} // namespace kaldora::main_window
