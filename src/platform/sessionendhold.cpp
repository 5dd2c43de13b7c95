#include "platform/sessionendhold.h"

#ifdef _WIN32
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <windows.h>
#endif

namespace kaldora::platform {

namespace {

#ifdef _WIN32
// The reason belongs to a top-level window of the program: the one the
// question is put over, else the first one on screen.
QWidget* holdingWindow()
{
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

class WindowsSessionEndHold final : public SessionEndHold {
public:
    void hold(std::string_view reason) override
    {
        release();
        QWidget* window = holdingWindow();
        if (window == nullptr) {
            return;
        }
        const std::wstring text =
            QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size())).toStdWString();
        // Without a reason (an older or a stand-in system) Windows still
        // waits for the question's answer, with its own words.
        if (ShutdownBlockReasonCreate(reinterpret_cast<HWND>(window->winId()), text.c_str())) {
            m_window = window;
        }
    }

    void release() override
    {
        if (m_window) {
            // The window's reason goes with the window at the latest.
            static_cast<void>(
                ShutdownBlockReasonDestroy(reinterpret_cast<HWND>(m_window->winId())));
        }
        m_window = nullptr;
    }

private:
    QPointer<QWidget> m_window;
};
#else
class NoSessionEndHold final : public SessionEndHold {
public:
    void hold(std::string_view) override {}
    void release() override {}
};
#endif

} // namespace

SessionEndHold& systemSessionEndHold()
{
#ifdef _WIN32
    static WindowsSessionEndHold hold;
#else
    static NoSessionEndHold hold;
#endif
    return hold;
}

} // namespace kaldora::platform
