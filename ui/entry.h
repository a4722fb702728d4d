#pragma once
// The program's run: settings, the parameters dialog, the tournament and the main window.
#include <QString>

class QApplication;

namespace quelna {

// Reads the settings from settingsPath, asks for the tournament's size and runs the main window
// until it closes; closing the parameters dialog ends the run at once. The settings are written
// back to settingsPath in either case. Returns the process exit code.
int runEntry(QApplication& app, const QString& settingsPath);

// Notes the monitors found: a second one makes the secondary-monitor option available; with a
// single monitor the slides cannot go elsewhere, so the option is switched off.
void applyMonitorCount(int monitorCount);

} // namespace quelna
