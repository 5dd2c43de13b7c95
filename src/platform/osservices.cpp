#include "platform/osservices.h"

#ifdef _WIN32
#include "platform/windowsfiletest.h"
#include "platform/windowsprogramstarter.h"
#include "platform/windowsregistry.h"
#else
#include "platform/desktopregistry.h"
#include "platform/posixfiletest.h"
#include "platform/posixprogramstarter.h"
#endif

namespace kaldora::platform {

OsServices systemServices()
{
#ifdef _WIN32
    static WindowsRegistry registry;
    static WindowsProgramStarter programs;
    static WindowsFileTest files;
#else
    static DesktopRegistry registry;
    static PosixProgramStarter programs;
    static PosixFileTest files;
#endif
    return {registry, programs, files};
}

} // namespace kaldora::platform
