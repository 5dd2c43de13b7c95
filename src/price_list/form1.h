#pragma once

#include "forms/controllookup.h"
#include "price_list/priceliststore.h"
#include "price_list/pricetable.h"
#include "price_list/pricetarget.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;

namespace kaldora::billing {
class Notice;
}

namespace kaldora::price_list {

class NavigationBar;

// The price-list window: six price fields bound to the current record of
// the price-list store, a navigation bar over the records and the button
// that applies the price list to the main window. The store is open for as
// long as the window exists. Leaving a record through the bar and unloading
// the window (its button, its close box, or deleting it) save the edits,
// the last one typed included; unloading happens once. The window deletes
// itself when it is closed, so its owner keeps it in a QPointer.
class Form1 : public QWidget {
    Q_OBJECT
public:
    // Opens the store at `storePath` (the program passes the fixed place of
    // the price list) and reads and writes prices with `decimalSeparator`.
    Form1(billing::Notice& messages, const QString& storePath, char decimalSeparator);
    ~Form1() override;

    // Where the apply button sends the six texts. `window` implements
    // PriceTarget; once it is destroyed nothing is sent any more.
    template <class Window> void setPriceTarget(Window* window)
    {
        setPriceTarget(static_cast<QObject*>(window), static_cast<PriceTarget*>(window));
    }
    void setPriceTarget(QObject* lifetime, PriceTarget* target);

    // The texts of Text11 to Text16.
    PriceTexts priceTexts() const;
    // A control by name, as the kind of widget asked for; an unknown name or
    // another kind throws std::logic_error.
    template <class Widget = QWidget> Widget* control(const QString& name) const
    {
        return forms::control<Widget>(m_controls, name);
    }
    NavigationBar* navigationBar() const { return m_navigation; }

    // The six texts that this window shows when it is loaded from
    // `storePath`, read straight from the store (the file is made with the
    // default prices when there is none). A problem with the store is shown
    // through `messages`; its fields then stay empty. For the main window's
    // start.
    static PriceTexts storedPriceTexts(billing::Notice& messages, const QString& storePath,
                                       char decimalSeparator);

    // Edits that could not be saved: why, and the six texts as they were
    // typed, so that the user can type them again.
    struct Unsaved {
        QString reason;
        PriceTexts texts;
    };

    // Saves the edits now and leaves the window as it is: the desktop
    // session may be about to end, or may yet go on. Nothing is shown; what
    // could not be saved is handed back, and stays on screen.
    std::optional<Unsaved> savePending();

    // Unloads the window when nobody may be there to answer a message (the
    // program is asked to stop, or the session ends): saves as closing does,
    // but hands back what could not be saved instead of showing it. The
    // window is closed afterwards like any other.
    std::optional<Unsaved> unloadUnattended();

public slots:
    // The button "PROMENI CENOVNIK": hands the six texts to the main window,
    // confirms, and unloads the window.
    void apply();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void leaveRecord(PriceListStore::Move step);
    void showRecord();
    std::optional<Unsaved> save();
    std::optional<Unsaved> unload(bool reportFailure);
    void report(const QString& text);

    billing::Notice& m_messages;
    PriceListStore m_store;
    QHash<QString, QWidget*> m_controls;
    std::array<QLineEdit*, billing::kPriceRowCount> m_fields{};
    NavigationBar* m_navigation = nullptr;
    QPointer<QObject> m_targetLifetime;
    PriceTarget* m_target = nullptr;
    bool m_unloaded = false;
};

} // namespace kaldora::price_list
