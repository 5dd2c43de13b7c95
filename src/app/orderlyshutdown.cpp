#include "app/orderlyshutdown.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include "app/stopsignals.h"

#include <utility>

namespace kaldora::app {

OrderlyShutdown::OrderlyShutdown(Actions actions, QObject* parent)
    : QObject(parent)
    , m_actions(std::move(actions))
{
    if (const int watched = stopsignals::catchAll(); watched >= 0) {
        m_notifier = new QSocketNotifier(watched, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &OrderlyShutdown::signalArrived);
    }
    QCoreApplication* application = QCoreApplication::instance();
    if (auto* gui = qobject_cast<QGuiApplication*>(application)) {
        connect(gui, &QGuiApplication::commitDataRequest, this, &OrderlyShutdown::sessionCommits);
    }
    if (application != nullptr) {
        // The session's real end (and every other quit) reaches the
        // application as a Quit event, which Qt answers by closing the
        // windows as their close boxes do; the filter comes first. Where the
        // system ends the process right after the session's end (Windows),
        // Qt emits aboutToQuit and nothing else.
        application->installEventFilter(this);
        connect(application, &QCoreApplication::aboutToQuit, this, &OrderlyShutdown::endUnattended);
    }
}

OrderlyShutdown::~OrderlyShutdown()
{
    if (m_notifier != nullptr) {
        stopsignals::release(m_ended ? stopsignals::Afterwards::Ignored
                                     : stopsignals::Afterwards::Default);
    }
}

int OrderlyShutdown::exitCode(int loopCode) const
{
    return loopCode == 0 && !m_allSaved ? kExitUnsaved : loopCode;
}

bool OrderlyShutdown::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        endUnattended();
    }
    return false;
}

void OrderlyShutdown::signalArrived()
{
    stopsignals::drain();
    // A further signal while the program ends changes nothing.
    if (m_ended) {
        return;
    }
    m_stopped = true;
    endUnattended();
    QCoreApplication::quit();
}

void OrderlyShutdown::sessionCommits(QSessionManager& manager)
{
    if (m_ended || m_actions.savePending()) {
        return;
    }
    // What could not be saved stays on screen, and the end tries again. The
    // session's end may wait for the user only if the user says so.
    const bool mayAsk = manager.allowsInteraction() || manager.allowsErrorInteraction();
    if (mayAsk && m_actions.confirmEndUnsaved()) {
        manager.release();
        return;
    }
    // While the user's interaction is open (the user chose to stay), Qt
    // stops the session's end with it. Without one, cancel() only tells the
    // session manager that the save failed: Qt stops the end only through
    // an interaction, which the manager has just refused.
    manager.cancel();
}

void OrderlyShutdown::endUnattended()
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    m_allSaved = m_actions.closeUnattended();
}

} // namespace kaldora::app
