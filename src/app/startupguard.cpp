#include "app/startupguard.h"

#include <cstdio>
#include <cstdlib>

namespace kaldora::app {

namespace {

constexpr int kExitNoWindowSystem = 2;

// Qt's message handler is a plain function, so the guard on duty is global.
StartupGuard* g_guard = nullptr;

} // namespace

StartupGuard::StartupGuard()
{
    g_guard = this;
    m_previous = qInstallMessageHandler(&StartupGuard::handle);
}

StartupGuard::~StartupGuard()
{
    qInstallMessageHandler(m_previous);
    g_guard = nullptr;
    for (const Held& held : m_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        if (m_previous != nullptr) {
            m_previous(held.type, context, held.text);
        } else {
            std::fprintf(stderr, "%s\n", qUtf8Printable(held.text));
        }
    }
}

void StartupGuard::handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_guard->m_held.push_back(
            {type, context.category != nullptr ? context.category : "default", text});
        return;
    }
    // The first message held so far names the cause ("could not connect to
    // display :5"), which tells the user more than Qt's advice to reinstall.
    QString reason = text.section(QLatin1Char('\n'), 0, 0);
    if (!g_guard->m_held.empty()) {
        reason = g_guard->m_held.front().text;
    }
    std::fprintf(stderr, "kaldora: prozor ne moze da se otvori: %s\n", qUtf8Printable(reason));
    std::fflush(stderr);
    std::_Exit(kExitNoWindowSystem);
}

} // namespace kaldora::app
