#pragma once
// The players' page inside the program: the snapshot the window publishes after each refresh,
// the web server that serves it, its settings section, and the two menu items that reach them.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "core/round_clock.h"
#include "core/tournament.h"
#include "publish/page_settings.h"
#include "publish/server/page_server.h"

class QAction;
class QMenu;
class QWidget;

namespace quelna {

class PlayerPageService {
  public:
    // settingsPath: the settings file whose section keeps the on/off state and the port.
    PlayerPageService(const Tournament& t, QWidget* window, std::string settingsPath);
    ~PlayerPageService();

    // "Страница для игроков..." in the service menu and the QR slide in the slides menu.
    void addServiceItem(QMenu* service);
    void addSlideItem(QMenu* slides);
    // Starts the server when the settings file says it was on; a failure is shown and it stays
    // off.
    void startFromSettings();

    // The round clock the seating page shows (null: none); it must outlive the service.
    void setClock(const RoundClock* clock) { clock_ = clock; }
    // Renders the pages from the record and swaps them in while the server runs; on the
    // user-interface thread only.
    void publish();
    // Starts, restarts or stops the server as wanted, shows a failure, stores the outcome.
    // Returns false when the server should have started and did not.
    bool apply(const PlayerPageSettings& wanted);
    // Ends the server; called before the record goes.
    void stop();

    bool running() const { return server_.running(); }
    const PlayerPageSettings& pageSettings() const { return settings_; }
    QAction* slideAction() const { return slideAction_; }

  private:
    void publishNow();
    void openDialog();
    void openQrSlide();
    void updateActions();

    const Tournament& t_;
    QWidget* window_;
    std::string settingsPath_;
    PlayerPageSettings settings_;
    const RoundClock* clock_ = nullptr;
    SnapshotSlot slot_;
    PageServer server_{slot_};
    QAction* slideAction_ = nullptr;
};

// "http://a.b.c.d:port/" for every IPv4 address of an interface that is up, loopback excluded.
QStringList pageAddresses(int port);
// The message for a server that did not start.
QString serverStartFailureText(ServerStart result, int port);

} // namespace quelna
