#pragma once

// For the start-up benchmark only: tells when a window is on screen and the
// program idle, and how much memory it took to get there.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

// Watches a window until it has been painted once, then waits for the event
// loop to run dry (a zero timer fires only when no event is pending), prints
// the wall-clock time and the peak resident memory, and ends the program.
class StartupProbe final : public QObject {
public:
    explicit StartupProbe(QWidget* window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, &StartupProbe::report);
        }
        return false;
    }

private:
    static long peakResidentKb()
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmHWM:", 0) == 0) {
                return std::stol(line.substr(6));
            }
        }
        return -1;
    }

    void report()
    {
        timespec now{};
        if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
            std::perror("clock_gettime");
            QCoreApplication::exit(1);
            return;
        }
        const long long micros = static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
        std::printf("ready_us=%lld peak_kb=%ld\n", micros, peakResidentKb());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_painted = false;
};
