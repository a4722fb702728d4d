// The round clock in the program: its commands in the slide-show menu, their keys pressed while
// the clock slide is shown, the clock's dialog, and the clock found again after a restart.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "main_window_support.h"
#include "slides/slide_show.h"
#include "ui/clock_dialog.h"
#include "ui/round_clock_service.h"

namespace quelna::mwtest {
namespace {

std::unique_ptr<MainWindow> openWindow(Tournament& t, const QTemporaryDir& dir) {
    MainWindowEnvironment env;
    env.workArea = kLargeArea;
    env.appDir = dir.path();
    auto w = std::make_unique<MainWindow>(t, false, env);
    w->refreshFromTournament(); // as after loading the tournament
    w->show();
    QApplication::setActiveWindow(w.get());
    [[maybe_unused]] bool active = QTest::qWaitForWindowActive(w.get());
    return w;
}

// Runs `inside` once the modal window that `open` starts is up, then `open` returns.
template <typename Inside> void whileModal(QAction* open, Inside inside) {
    QTimer::singleShot(0, [inside] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        [[maybe_unused]] bool shown = QTest::qWaitForWindowExposed(modal);
        inside(modal);
        modal->close();
    });
    open->trigger();
}

TEST(RoundClockMenu, KeysWorkOnTheSlideAndTheClockSurvivesARestart) {
    SettingsGuard guard;
    QTemporaryDir dir;
    settings() = Settings{};
    settings().settingsPath = dir.filePath(u"quelna.ini"_qs).toStdString();
    Tournament t(16, 4);
    playRounds(t, 1, 7);
    auto w = openWindow(t, dir);
    RoundClockService* service = w->roundClock();
    ASSERT_NE(service, nullptr);

    QStringList items;
    for (QAction* top : w->findChild<QMenuBar*>()->actions())
        if (top->text() == u"&Показ слайдов"_qs)
            for (QAction* a : top->menu()->actions())
                items << a->text();
    for (const QString& item :
         {u"Часы тура"_qs, u"Старт"_qs, u"Пауза"_qs, u"+1 минута"_qs, u"−1 минута"_qs})
        EXPECT_TRUE(items.contains(item)) << item.toStdString();
    EXPECT_EQ(service->clock().round, 1);
    EXPECT_TRUE(service->startAction()->isEnabled());
    EXPECT_FALSE(service->pauseAction()->isEnabled());

    whileModal(service->slideAction(), [&](QWidget* slide) {
        ASSERT_NE(qobject_cast<SlideShow*>(slide), nullptr);
        QTest::keyClick(slide, Qt::Key_F5);
        EXPECT_EQ(service->clock().state, ClockState::Running);
        QTest::keyClick(slide, Qt::Key_F8);
        QTest::keyClick(slide, Qt::Key_F8);
        QTest::keyClick(slide, Qt::Key_F7);
        EXPECT_EQ(service->clock().duration, 91 * kMinute);
        QTest::keyClick(slide, Qt::Key_F6);
        EXPECT_EQ(service->clock().state, ClockState::Paused);
    });
    EXPECT_EQ(IniFile::load(settings().settingsPath).get("CLOCK", "STATE"), "2")
        << "written at once, not at exit";

    // The dialog gives table 3 five more minutes and puts the clock in the slides' corner.
    whileModal(service->dialogAction(), [](QWidget* modal) {
        auto* dialog = qobject_cast<ClockDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->tableBox()->setValue(3);
        dialog->extraBox()->setValue(5);
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == u"&Назначить"_qs)
                click(b);
        click(dialog->cornerCheck());
        dialog->accept();
    });
    EXPECT_EQ(tableExtra(service->clock(), 3), 5);
    EXPECT_TRUE(service->clock().corner);

    // The seating slide shows the corner and answers the same keys.
    whileModal(w->menuAction(ids::kSlideSeating), [&](QWidget* slide) {
        auto* show = qobject_cast<SlideShow*>(slide);
        ASSERT_NE(show, nullptr);
        ASSERT_NE(show->clockCorner(), nullptr);
        // Paused a moment after the start of a 91-minute round.
        const QString corner = show->clockCorner()->text();
        EXPECT_TRUE(corner == u"91:00"_qs || corner.startsWith(u"90:5"_qs)) << corner.toStdString();
        QTest::keyClick(slide, Qt::Key_F5);
        EXPECT_EQ(service->clock().state, ClockState::Running);
    });

    // A restart finds the running clock with its extra time.
    const RoundClock before = service->clock();
    w.reset();
    auto again = openWindow(t, dir);
    const RoundClock& after = again->roundClock()->clock();
    EXPECT_EQ(after.state, ClockState::Running);
    EXPECT_EQ(after.endsAt, before.endsAt);
    EXPECT_EQ(after.duration, 91 * kMinute);
    EXPECT_EQ(tableExtra(after, 3), 5);
    EXPECT_FALSE(again->roundClock()->startAction()->isEnabled());
}

// A settings file with hostile clock values: the window starts, tells which values it refused,
// shows a stopped clock of the round on the slide and writes none of them back.
TEST(RoundClockMenu, HostileStoredClockIsRefusedAndNamed) {
    SettingsGuard guard;
    QTemporaryDir dir;
    settings() = Settings{};
    settings().settingsPath = dir.filePath(u"quelna.ini"_qs).toStdString();
    Tournament t(48, 4);
    playRounds(t, 1, 7);
    const struct {
        const char* section;
        const char16_t* named; // one of the refused values
    } cases[] = {
        {"ROUND=1\r\nSTATE=1\r\nDURATION=5400000\r\nENDS=-9223372036854775808",
         u"ENDS=-9223372036854775808"},
        {"ROUND=1\r\nSTATE=2\r\nDURATION=9223372036854775807\r\nLEFT=1",
         u"DURATION=9223372036854775807"},
        {"ROUND=1\r\nSTATE=2\r\nDURATION=5400000\r\nLEFT=-9223372036854775808",
         u"LEFT=-9223372036854775808"},
        {"ROUND=1\r\nSTATE=1\r\nDURATION=5400000\r\nENDS=1\r\nEXTRA=5000:10", u"EXTRA=5000:10"},
        {"ROUND=1\r\nSTARTS=9223372036854775807\r\nLENGTH=-2147483648", u"LENGTH=-2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.section);
        {
            QFile f(dir.filePath(u"quelna.ini"_qs));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray("[CLOCK]\r\n") + c.section + "\r\n");
        }
        auto w = openWindow(t, dir);
        RoundClockService* service = w->roundClock();
        EXPECT_EQ(service->clock().state, ClockState::Idle);
        const QString note = service->droppedNote();
        EXPECT_TRUE(note.contains(QString::fromUtf16(c.named))) << note.toStdString();
        whileModal(service->slideAction(), [&](QWidget* slide) {
            auto* show = qobject_cast<SlideShow*>(slide);
            ASSERT_NE(show, nullptr);
            bool shown = false;
            for (QLabel* l : show->findChildren<QLabel*>())
                shown = shown || l->text() == u"90:00"_qs;
            EXPECT_TRUE(shown);
            QTest::keyClick(slide, Qt::Key_F5); // a change writes the clock at once
        });
        const IniFile ini = IniFile::load(settings().settingsPath);
        EXPECT_EQ(ini.get("CLOCK", "STATE"), "1");
        EXPECT_EQ(ini.get("CLOCK", "DURATION"), "5400000");
        EXPECT_EQ(ini.get("CLOCK", "EXTRA"), "");
        EXPECT_EQ(ini.get("CLOCK", "STARTS"), "0");
    }
}

} // namespace
} // namespace quelna::mwtest
