#include "osservices.h"

#ifdef _WIN32
#include "windowsfiletest.h"
#include "windowsprogramstarter.h"
#include "windowsregistry.h"
#else
#include "desktopregistry.h"
#include "posixfiletest.h"
#include "posixprogramstarter.h"
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
