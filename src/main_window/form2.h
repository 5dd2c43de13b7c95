#pragma once

#include "billing/notice.h"
#include "billing/numbertext.h"
#include "billing/obracun.h"
#include "forms/controllookup.h"
#include "platform/clock.h"
#include "price_list/pricetarget.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QComboBox;
class QLabel;

namespace kaldora::main_window {

class Form2Sheet;

// The main window: the bill sheet with its readings, dates, prices and
// results, the meter choice, the two buttons and the menu bar. It owns its
// controls (laid out from the form2Controls() table), the sheet adapter over
// them and the calculation's working values, which live exactly as long as
// the window. Closing it, by "IZLAZ" or from the title bar, destroys it.
class Form2 final : public QMainWindow, public price_list::PriceTarget {
    Q_OBJECT

public:
    // What the window needs from the system. The services must outlive it.
    struct Services {
        const platform::Clock& clock;
        billing::Notice& messages;
        char decimalSeparator;
    };

    explicit Form2(const Services& services, QWidget* parent = nullptr);
    ~Form2() override;

    // The load reaction: the new reading's date becomes today and the
    // previous reading's date today minus 30 days. The clock is read once for
    // each, so a start-up across midnight takes the second date from the
    // new day.
    void startUp();

    // The fields the calculation works on; also the way other windows write
    // the six prices.
    billing::BillSheet& sheet();

    // The price transfer: the six texts go into Text11..Text16 unchanged.
    // The price fields have no reaction, so no amount is recomputed.
    void setPriceTexts(const price_list::PriceTexts& texts) override;

    // A control by name ("Text23"), or "Label20(3)" for an element of the
    // Label20 array, as the kind of widget asked for; an unknown name or
    // another kind throws std::logic_error.
    template <class Widget = QWidget> Widget* control(const QString& key) const
    {
        return forms::control<Widget>(m_controls, key);
    }

    // A menu item by name (DRU, CEN, I, TRECE, O); null for an unknown name.
    QAction* menuItem(const QString& name) const;

private:
    void createMenus();
    void connectCommands();
    void obracunaj();
    // Label beside a combo box := the entry just picked from its list.
    void echoPick(QComboBox* combo, QLabel* label);

    const platform::Clock& m_clock;
    QHash<QString, QWidget*> m_controls;
    QHash<QString, QAction*> m_menuItems;
    std::unique_ptr<Form2Sheet> m_sheet;
    billing::NumberText m_numbers;
    // Declared after the sheet: it stops listening to the sheet when it goes.
    std::unique_ptr<billing::Obracun> m_obracun;
};

} // namespace kaldora::main_window
