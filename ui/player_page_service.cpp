#include "ui/player_page_service.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkInterface>

#include "core/settings.h"
#include "publish/player_pages.h"
#include "slides/qr_slide.h"
#include "ui/player_page_dialog.h"

namespace quelna {

QStringList pageAddresses(int port) {
    QStringList result;
    const auto wanted = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        if ((iface.flags() & wanted) != wanted || (iface.flags() & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            const QHostAddress a = entry.ip();
            if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
                result << QStringLiteral(u"http://%1:%2/").arg(a.toString()).arg(port);
        }
    }
    return result;
}

QString serverStartFailureText(ServerStart result, int port) {
    switch (result) {
    case ServerStart::PortInUse:
        return QStringLiteral(u"Порт %1 уже занят другой программой.\nСтраница для игроков "
                              u"не включена: выберите другой порт.")
            .arg(port);
    case ServerStart::NotPermitted:
        return QStringLiteral(u"Нет прав открыть порт %1.\nСтраница для игроков не включена: "
                              u"выберите порт от 1024 до 65535.")
            .arg(port);
    default:
        return QStringLiteral(u"Не удалось открыть порт %1.\nСтраница для игроков не включена.")
            .arg(port);
    }
}

PlayerPageService::PlayerPageService(const Tournament& t, QWidget* window, std::string settingsPath)
    : t_(t), window_(window), settingsPath_(std::move(settingsPath)),
      settings_(loadPlayerPageSettings(settingsPath_)) {}

PlayerPageService::~PlayerPageService() {
    stop();
}

void PlayerPageService::addServiceItem(QMenu* service) {
    QObject::connect(service->addAction(QStringLiteral(u"&Страница для игроков...")),
                     &QAction::triggered, window_, [this] { openDialog(); });
}

void PlayerPageService::addSlideItem(QMenu* slides) {
    slides->addSeparator();
    slideAction_ = slides->addAction(QStringLiteral(u"Страница для игроков (QR-код)"));
    QObject::connect(slideAction_, &QAction::triggered, window_, [this] { openQrSlide(); });
    updateActions();
}

void PlayerPageService::startFromSettings() {
    if (settings_.enabled)
        (void)apply(settings_);
}

void PlayerPageService::publish() {
    if (running())
        publishNow();
}

void PlayerPageService::publishNow() {
    // Rendered and compressed here, once, so that serving a page costs the server no more than
    // sending it.
    slot_.publish(makePageSnapshot(renderServedPages(t_, settings().tournamentTitle, clock_),
                                   slot_.current()));
}

bool PlayerPageService::apply(const PlayerPageSettings& wanted) {
    bool ok = true;
    const bool restart = !running() || wanted.port != settings_.port;
    settings_ = wanted;
    if (!wanted.enabled) {
        stop();
    } else if (restart) {
        stop();
        publishNow();
        const ServerStart result = server_.start(wanted.port);
        if (result != ServerStart::Started) {
            settings_.enabled = false;
            ok = false;
            QMessageBox::critical(window_, QStringLiteral(u"Ошибка"),
                                  serverStartFailureText(result, wanted.port));
        }
    }
    // Not being able to note the choice is no reason to bother the organiser.
    (void)savePlayerPageSettings(settings_, settingsPath_);
    updateActions();
    return ok;
}

void PlayerPageService::stop() {
    server_.stop();
    updateActions();
}

void PlayerPageService::updateActions() {
    if (slideAction_)
        slideAction_->setEnabled(running());
}

void PlayerPageService::openDialog() {
    publish(); // the title may have changed in the settings since the last refresh
    PlayerPageDialog dialog(settings_, running(), window_);
    if (dialog.exec() == QDialog::Accepted)
        (void)apply(dialog.wanted());
}

void PlayerPageService::openQrSlide() {
    const QStringList addresses = pageAddresses(server_.port());
    showQrSlide(window_, addresses.isEmpty() ? QString() : addresses.first());
}

} // namespace quelna
