#pragma once

#include <QString>

namespace kaldora::app {

// The program's command name.
inline const QString kProgramName = QStringLiteral("kaldora");

// The program's application ID: the name of its desktop entry, its icon and
// its AppStream metadata.
inline const QString kApplicationId = QStringLiteral("rs.kaldora.Kaldora");

// The version the program was built as ("1.0.0"), the project's version.
QString programVersion();

// Tells Qt who the running program is, once the application object exists:
// its name and version, the desktop entry it was started from (so a desktop
// shows the entry's name and icon for its windows), and the icon every one
// of its windows wears.
void applyProgramIdentity();

} // namespace kaldora::app
