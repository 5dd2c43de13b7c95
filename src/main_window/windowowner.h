#pragma once

#include "about/aboutowner.h"
#include "main_window/form2.h"
#include "platform/osservices.h"
#include "price_list/form1.h"
#include "price_list/pricelistfile.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

namespace kaldora::main_window {

// Owns the program's windows. Each window exists at most once: the owner
// creates it with its fields on first use, hands out that one instance, and
// forgets it when the window is closed (closing destroys a window, and the
// QPointer notices). A later use creates it afresh.
//
// The application ends when none of its windows is left on screen (Qt's
// quitOnLastWindowClosed). A window that is loaded but hidden cannot keep it
// alive, and when the main window goes every hidden window is closed too, so
// nothing is left behind that the user can no longer reach.
class WindowOwner final : public QObject {
    Q_OBJECT

public:
    // The price list is kept at `priceListPath`; the about dialog finds the
    // system information tool through `os`.
    explicit WindowOwner(const Form2::Services& services,
                         const platform::OsServices& os = platform::systemServices(),
                         const QString& priceListPath = price_list::PriceListFile::defaultPath(),
                         QObject* parent = nullptr);
    ~WindowOwner() override;
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;

    // The main window, created and started up (its load reaction) on first
    // use; not shown. Its start-up takes the six prices the price-list
    // window would show, then sets the two dates.
    Form2* form2();

    // "PROMENI CENOVNIK": the price-list window, loaded afresh from the store
    // if it is not loaded, shown modeless (restored if minimised) and brought
    // to the front.
    price_list::Form1* showPriceList();
    price_list::Form1* priceList() const { return m_form1.data(); }

    // "O PROGRAMU": the about dialog, loaded if it is not, shown modeless
    // (restored if minimised) and brought to the front.
    about::frmAbout* showAbout();
    about::frmAbout* aboutDialog() const { return m_about.current(); }

    // The desktop session may be about to end: the price-list window's
    // pending edits are saved, and every window stays as it is. Gives what
    // could not be saved.
    std::optional<price_list::Form1::Unsaved> savePendingEdits();

    // The program's end when nobody may be there to answer a message: the
    // price-list window saves its edits, and every window, message boxes
    // included, is closed. Gives what could not be saved instead of showing it.
    std::optional<price_list::Form1::Unsaved> closeUnattended();

    // Takes a window into the owner's care: it is destroyed when closed,
    // closed with the main window while it is hidden, and destroyed with the
    // owner at the latest.
    void adopt(QWidget* window);

private:
    void mainWindowGone(QObject* mainWindow);

    Form2::Services m_services;
    QString m_priceListPath;
    QPointer<Form2> m_form2;
    QPointer<price_list::Form1> m_form1;
    about::AboutOwner m_about;
    std::vector<QPointer<QWidget>> m_windows;
};

} // namespace kaldora::main_window
