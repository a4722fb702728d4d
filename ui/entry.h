#pragma once
// The program's run: settings, the parameters dialog, the tournament and the main window.
#include <QString>

class QApplication;

namespace quelna {

// Reads the settings from settingsPath, asks for the tournament's size and runs the main window
// until it closes; closing the parameters dialog ends the run at once. A tournament file given
// as openFile (the command line's, as the file manager passes it) is opened instead of asking,
// unless the organiser continues an interrupted run. The settings are written back to
// settingsPath in either case. Returns the process exit code.
int runEntry(QApplication& app, const QString& settingsPath, const QString& openFile = QString());

// Notes the monitors found: a second one makes the secondary-monitor option available; with a
// single monitor the slides cannot go elsewhere, so the option is switched off.
void applyMonitorCount(int monitorCount);

} // namespace quelna
