#pragma once

#include "about/systeminformation.h"
#include "billing/notice.h"
#include "forms/controllookup.h"
#include "platform/osservices.h"

#include <QDialog>
#include <QHash>

#include <cstdint>
#include <string>

class QPushButton;

namespace kaldora::about {

// The about dialog: the program's name, version and description, and a
// button that starts the System Information tool. It owns its controls and
// the routine that finds the tool. It is modeless, has no owner window and
// deletes itself when closed, so each opening loads it afresh.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    frmAbout(const platform::OsServices& services, billing::Notice& messages,
             QWidget* parent = nullptr);

    // The dialog's public routines.
    void StartSysInfo();
    int GetKeyValue(const std::int32_t& keyRoot, const std::string& keyName,
                    const std::string& subKeyRef, std::string& keyValue);

    // A control by its name ("cmdOK", "Line1(0)"), as the kind of widget
    // asked for; an unknown name or another kind throws std::logic_error.
    template <class Widget = QWidget> Widget* control(const QString& key) const
    {
        return forms::control<Widget>(m_controls, key);
    }

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    SystemInformation m_sysInfo;
    QHash<QString, QWidget*> m_controls;
};

} // namespace kaldora::about
