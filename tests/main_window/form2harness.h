#pragma once

#include "fixedclock.h"
#include "main_window/form2.h"
#include "main_window/windowowner.h"
#include "support/modalwatchdog.h"
#include "support/pricelistfolder.h"
#include "support/recordingmessagebox.h"

#include <QPointer>

#include <chrono>
#include <memory>

class QLineEdit;

namespace kaldora::tests {

// A main window as the program starts it, through the window owner, with a
// fixed clock, a recording message box, a price list of its own (created
// with the default prices) and, unless told otherwise, a decimal comma.
class Form2Harness {
public:
    explicit Form2Harness(std::chrono::sys_days today, char decimalSeparator = ',');
    ~Form2Harness();

    Form2Harness(const Form2Harness&) = delete;
    Form2Harness& operator=(const Form2Harness&) = delete;

    main_window::Form2* form() const { return m_form; }
    main_window::WindowOwner& owner() { return *m_windows; }
    const RecordingMessageBox& messages() const { return m_messages; }

    // Shows the window and waits until it is active, as a user would find it.
    bool showAndActivate();

    QLineEdit* text(int number) const;
    QWidget* control(const char* name) const;

    // Clears a box and types into it key by key, as a user does.
    void type(int textNumber, const QString& keys);
    // Types the six prices of the worked examples into Text11..Text16, with
    // the harness's decimal separator.
    void typeExamplePrices();
    void typeReadings(const QString& newVt, const QString& newMt, const QString& oldVt,
                      const QString& oldMt);
    void clickObracunaj();

private:
    char m_separator;
    FixedClock m_clock;
    RecordingMessageBox m_messages;
    PriceListFolder m_prices;
    std::unique_ptr<main_window::WindowOwner> m_windows;
    QPointer<main_window::Form2> m_form;
};

// Lets closed windows finish: runs the deferred deletions.
void flushDeletions();

} // namespace kaldora::tests
