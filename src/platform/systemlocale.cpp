#include "platform/systemlocale.h"

#include <QLocale>

namespace kaldora::platform {

char systemDecimalSeparator()
{
    // QLocale::system() reads the regional settings on Windows and the
    // environment elsewhere itself, so it needs neither setlocale() nor the
    // locale's data in the C library.
    return QLocale::system().decimalPoint() == QLatin1String(",") ? ',' : '.';
}

} // namespace kaldora::platform
