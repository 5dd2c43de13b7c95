#include "support/boundedrun.h"

#include <QCoreApplication>
#include <QTimer>

namespace kaldora::tests {

int runApplicationWithin(std::chrono::milliseconds limit)
{
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [] { QCoreApplication::exit(kRunAborted); });
    timer.start(limit);
    return QCoreApplication::exec();
}

} // namespace kaldora::tests
