#include "about/aboutowner.h"

#include "forms/showinfront.h"

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
    forms::showInFront(*m_dialog);
    return *m_dialog;
}

} // namespace kaldora::about
