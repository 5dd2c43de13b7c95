#include "about/aboutowner.h"

namespace kaldora::about {

AboutOwner::AboutOwner(const platform::OsServices& services, billing::Notice& messages)
    : m_services(services)
    , m_messages(messages)
{
}

frmAbout& AboutOwner::show()
{
    if (m_dialog.isNull()) {
        m_dialog = new frmAbout(m_services, m_messages);
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    return *m_dialog;
}

} // namespace kaldora::about
