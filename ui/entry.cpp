#include "ui/entry.h"

#include <QApplication>
#include <QScreen>

#include <ctime>

#include "core/random.h"
#include "core/settings.h"
#include "core/tournament.h"
#include "gui/core_path.h"
#include "gui/tooltips.h"
#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/parameters_dialog.h"

namespace quelna {

void applyMonitorCount(int monitorCount) {
    Settings& s = settings();
    s.secondaryAvailable = monitorCount > 1;
    if (!s.secondaryAvailable)
        s.showOnSecondary = false;
}

int runEntry(QApplication& app, const QString& settingsPath) {
    // The run is a chain of modal dialogs; no window in between must end the application.
    app.setQuitOnLastWindowClosed(false);
    installToolTipBehaviour(app);
    QApplication::setWindowIcon(appIcon());

    loadSettings(settings(), corePath(settingsPath));
    runRandom().seed(static_cast<std::uint32_t>(std::time(nullptr)));
    applyMonitorCount(static_cast<int>(QGuiApplication::screens().size()));

    ParametersDialog parameters;
    if (parameters.exec() == 1) {
        Tournament tournament(parameters.playerCount(), parameters.roundCount());
        settings().autosave = !parameters.testMode();
        MainWindow window(tournament, parameters.testMode(), nullptr);
        window.exec();
    }

    // A settings file that cannot be written is no reason to bother the organiser at exit.
    (void)saveSettings(settings());
    return 0;
}

} // namespace quelna
