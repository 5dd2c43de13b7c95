#pragma once

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

namespace kaldora::app {

// Watches Qt's messages while the application object is created. If Qt gives
// up there (a display that is set but cannot be reached ends in qFatal, which
// aborts and dumps core), the program says so in one line and exits with a
// failure code instead. Messages that come before a successful start are
// handed on to the previous handler when the guard is dismissed.
class StartupGuard {
public:
    StartupGuard();
    ~StartupGuard();
    StartupGuard(const StartupGuard&) = delete;
    StartupGuard& operator=(const StartupGuard&) = delete;

private:
    struct Held {
        QtMsgType type;
        std::string category;
        QString text;
    };

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QtMessageHandler m_previous = nullptr;
    std::vector<Held> m_held;
};

} // namespace kaldora::app
