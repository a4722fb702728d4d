#include "ui/entry.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <ctime>

#include "core/random.h"
#include "core/settings.h"
#include "core/tournament.h"
#include "files/resume_point.h"
#include "gui/core_path.h"
#include "gui/tooltips.h"
#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/parameters_dialog.h"
#include "ui/resume_offer.h"

namespace quelna {

void applyMonitorCount(int monitorCount) {
    Settings& s = settings();
    s.secondaryAvailable = monitorCount > 1;
    if (!s.secondaryAvailable)
        s.showOnSecondary = false;
}

int runEntry(QApplication& app, const QString& settingsPath, const QString& openFile) {
    // The run is a chain of modal dialogs; no window in between must end the application.
    app.setQuitOnLastWindowClosed(false);
    installToolTipBehaviour(app);
    QApplication::setWindowIcon(appIcon());

    loadSettings(settings(), corePath(settingsPath));
    runRandom().seed(static_cast<std::uint32_t>(std::time(nullptr)));
    applyMonitorCount(static_cast<int>(QGuiApplication::screens().size()));

    // Autosaves lie beside the settings file, where the next start looks for them.
    const QString folder = QFileInfo(settingsPath).absolutePath();
    int players = 0, rounds = 0;
    bool testMode = false;
    QString file = offerResume(folder);
    if (file.isEmpty() || !tournamentFileSize(file, players, rounds)) {
        file.clear();
        if (!openFile.isEmpty() && tournamentFileSize(openFile, players, rounds))
            file = openFile;
        else if (!openFile.isEmpty())
            QMessageBox::critical(nullptr, QStringLiteral(u"Ошибка"),
                                  QStringLiteral(u"Ошибка при чтении из файла!"));
    }
    if (file.isEmpty()) {
        players = rounds = 0; // a file that failed the check may have left its size here
        ParametersDialog parameters;
        if (parameters.exec() == 1) {
            players = parameters.playerCount();
            rounds = parameters.roundCount();
            testMode = parameters.testMode();
            file = parameters.tournamentFile();
        }
    }
    if (players > 0) {
        settings().autosave = !testMode;
        // Only the window's own close removes the marker; a crash leaves it for the next start.
        (void)markRunning(corePath(folder));
        // A file of another size opened from the window comes back here to get a window of its
        // own size; the organiser's options of this run stay as they are.
        while (players > 0) {
            ParametersDialog::limitTableOptions(players);
            Tournament tournament(players, rounds);
            MainWindowEnvironment env;
            env.appDir = folder;
            MainWindow window(tournament, testMode, env);
            if (!file.isEmpty())
                QTimer::singleShot(0, &window,
                                   [&window, file] { window.openTournamentFile(file); });
            window.exec();
            file = window.reopenFile();
            if (file.isEmpty() || !tournamentFileSize(file, players, rounds))
                players = 0;
        }
        clearRunning(corePath(folder));
    }

    // A settings file that cannot be written is no reason to bother the organiser at exit.
    (void)saveSettings(settings());
    return 0;
}

} // namespace quelna
