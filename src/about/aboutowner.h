#pragma once

#include "about/frmabout.h"

#include <QPointer>

namespace kaldora::about {

// Hands out the one about dialog of the run. It creates the dialog when it
// is asked for it and none is open, so a dialog that was closed is loaded
// afresh; an open one is only brought to the front. It owns no dialog: an
// open dialog deletes itself when closed, and the pointer forgets it.
class AboutOwner {
public:
    AboutOwner(const platform::OsServices& services, billing::Notice& messages);

    // Shows the dialog, modeless and without an owner window, in front of
    // the others and restored if the user has minimised it.
    frmAbout& show();

    // The open dialog, or null.
    frmAbout* current() const { return m_dialog.data(); }

private:
    platform::OsServices m_services;
    billing::Notice& m_messages;
    QPointer<frmAbout> m_dialog;
};

} // namespace kaldora::about
