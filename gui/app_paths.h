#pragma once
// Where the program keeps its settings file and autosave files.
#include <QString>

namespace quelna {

// The executable's directory, as organisers expect from a program run from a folder or a stick.
// When that directory cannot be written, or is a system folder under /usr (an installed program),
// the user's application-data directory instead, so settings and autosaves are never silently
// lost.
QString appDataDirectory();

} // namespace quelna
