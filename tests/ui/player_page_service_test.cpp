// The players' page in the program: its menu items, the settings section, a port in use, and a
// page served from the snapshot of the record that the window shows.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "core/settings.h"
#include "core/text.h"
#include "support/http_client.h"
#include "ui/main_window.h"
#include "ui/player_page_dialog.h"
#include "ui/player_page_service.h"
#include "ui_test_support.h"

namespace quelna::uitest {
namespace {

TEST(PlayerPageService, APortInUseIsRefusedClearlyAndAFreeOneServesTheRecord) {
    QTemporaryDir dir;
    const std::string ini = QDir(dir.path()).filePath(u"quelna.ini"_qs).toStdString();
    writeFile(QString::fromStdString(ini),
              "[QUELNA]\r\nLINES=12\r\n[PLAYERPAGE]\r\nPORT=99999\r\n");
    Tournament t(12, 2);
    for (int p = 0; p < 12; ++p)
        t.setRegistration(p, utf8ToCp1251("Игрок <" + std::to_string(p + 1) + ">"), "", p + 1);
    QWidget window;
    QMenu service, slides;
    PlayerPageService page(t, &window, ini);
    page.addServiceItem(&service);
    page.addSlideItem(&slides);
    EXPECT_FALSE(page.pageSettings().enabled);
    EXPECT_EQ(page.pageSettings().port, 8080) << "a port out of range gives the default";
    ASSERT_NE(page.slideAction(), nullptr);
    EXPECT_FALSE(page.slideAction()->isEnabled()) << "no QR code of a page that is off";

    // Another program holds the port: a clear message, the server stays off, "off" is stored.
    SnapshotSlot otherSlot;
    PageServer other(otherSlot);
    ASSERT_EQ(other.start(0), ServerStart::Started);
    {
        MessageBoxCatcher boxes;
        EXPECT_FALSE(page.apply({true, other.port()}));
        ASSERT_EQ(boxes.seen.size(), 1u);
        expectError(boxes.seen[0], serverStartFailureText(ServerStart::PortInUse, other.port()));
        EXPECT_TRUE(boxes.seen[0].text.contains(QString::number(other.port())));
    }
    EXPECT_FALSE(page.running());
    IniFile stored = IniFile::load(ini);
    EXPECT_EQ(stored.get("PLAYERPAGE", "ENABLED"), "0");
    EXPECT_EQ(stored.get("PLAYERPAGE", "PORT"), std::to_string(other.port()));
    EXPECT_EQ(stored.get("QUELNA", "LINES"), "12") << "the program's own section stays";
    const int freePort = other.port();
    other.stop();

    // Now free: it serves what the record holds, and the window's refresh reaches the page.
    EXPECT_TRUE(page.apply({true, freePort}));
    EXPECT_TRUE(page.running());
    EXPECT_TRUE(page.slideAction()->isEnabled());
    EXPECT_EQ(IniFile::load(ini).get("PLAYERPAGE", "ENABLED"), "1");
    test_support::HttpClient client(freePort);
    auto standings = client.get("/standings.html");
    ASSERT_TRUE(standings);
    EXPECT_NE(standings->body.find("Игрок &lt;7&gt;"), std::string::npos);
    t.setRegistration(6, utf8ToCp1251("Новое имя"), "", 7);
    page.publish();
    standings = client.get("/standings.html");
    ASSERT_TRUE(standings);
    EXPECT_NE(standings->body.find("Новое имя"), std::string::npos);

    // The next start switches it on again by itself; switching off is stored too.
    page.stop();
    PlayerPageService next(t, &window, ini);
    next.startFromSettings();
    EXPECT_TRUE(next.running());
    EXPECT_TRUE(next.apply({false, freePort}));
    EXPECT_FALSE(next.running());
    EXPECT_EQ(IniFile::load(ini).get("PLAYERPAGE", "ENABLED"), "0");
}

TEST(PlayerPageService, TheDialogAndTheMenuItems) {
    PlayerPageDialog dialog({false, 8080}, false);
    EXPECT_FALSE(dialog.enabledCheck()->isChecked());
    EXPECT_EQ(dialog.portBox()->value(), 8080);
    EXPECT_EQ(dialog.addressLabel()->text(), u"Страница выключена."_qs);
    dialog.enabledCheck()->setChecked(true);
    dialog.portBox()->setValue(8123);
    const QString shown = dialog.addressLabel()->text();
    EXPECT_NE(shown, u"Страница выключена."_qs);
    for (const QString& a : pageAddresses(8123))
        EXPECT_TRUE(shown.contains(a)) << a.toStdString();
    EXPECT_EQ(dialog.wanted().port, 8123);
    EXPECT_TRUE(dialog.wanted().enabled);
    dialogShot(&dialog, "dialog_player_page.png");

    Tournament t(12, 2);
    MainWindowEnvironment env;
    env.workArea = QRect(0, 0, 1600, 900);
    QTemporaryDir dir;
    env.appDir = dir.path();
    MainWindow window(t, false, env);
    QStringList items;
    for (QAction* menu : window.findChild<QMenuBar*>()->actions())
        for (QAction* a : menu->menu()->actions())
            items << a->text();
    EXPECT_TRUE(items.contains(u"&Страница для игроков..."_qs));
    EXPECT_TRUE(items.contains(u"Страница для игроков (QR-код)"_qs));
}

} // namespace
} // namespace quelna::uitest
