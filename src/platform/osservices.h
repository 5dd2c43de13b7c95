#pragma once

#include "platform/filetest.h"
#include "platform/programstarter.h"
#include "platform/registry.h"

namespace kaldora::platform {

// The operating-system services that need no window system, handed together
// to the code that uses them so that tests can hand in their own.
struct OsServices {
    Registry& registry;
    ProgramStarter& programs;
    FileTest& files;
};

// The real services of the system the program runs on: the registry on
// Windows, its desktop stand-in elsewhere. They live for the whole run.
OsServices systemServices();

} // namespace kaldora::platform
