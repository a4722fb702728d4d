#pragma once
// Shared by the main window tests: a window on an injected work area with its own autosave
// directory, typing and clicking helpers, and a watcher that answers modal dialogs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "core/random.h"
#include "core/settings.h"
#include "core/test_data.h"
#include "core/tournament.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"
#include "seating/ui/progress_dialog.h"
#include "tests/ui/ui_test_support.h"
#include "ui/main_window.h"

namespace quelna::mwtest {

inline const QRect kLargeArea(0, 0, 3000, 2000);

using uitest::csvText;
using uitest::SettingsGuard;

struct Harness {
    explicit Harness(int players, int rounds, bool testMode = false, QRect area = kLargeArea) {
        settings() = Settings{};
        settings().autosave = !testMode;
        t = std::make_unique<Tournament>(players, rounds);
        MainWindowEnvironment env;
        env.workArea = area;
        env.appDir = dir.path();
        w = std::make_unique<MainWindow>(*t, testMode, env);
        w->show();
        QApplication::setActiveWindow(w.get());
        [[maybe_unused]] bool active = QTest::qWaitForWindowActive(w.get());
    }
    ~Harness() {
        if (w)
            w->hide();
    }
    QPushButton* button(int id) const { return qobject_cast<QPushButton*>(w->control(id)); }
    // A command button of the window by its object name ("seatButton", "resultsButton2", ...).
    QPushButton* button(const char* name) const {
        return w->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(int id) const { return qobject_cast<QLineEdit*>(w->control(id)); }
    QString autosaveFile(int k) const {
        return dir.filePath(QStringLiteral("autosave_tour%1.csv").arg(k));
    }

    SettingsGuard guard; // constructed first, restored last
    QTemporaryDir dir;
    std::unique_ptr<Tournament> t;
    std::unique_ptr<MainWindow> w;
};

inline void click(QWidget* widget) {
    if (!widget) {
        ADD_FAILURE() << "no such widget to click";
        return;
    }
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Clicks into an edit, selects what it holds and types text over it, key by key.
inline void typeInto(QLineEdit* edit, const QString& text) {
    click(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
        return;
    }
    uitest::typeText(edit, text);
}

// Types into an edit and leaves it with Tab, as an organiser moves on to the next cell.
inline void typeAndLeave(QLineEdit* edit, const QString& text) {
    typeInto(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

// Answers the modal dialogs that open while it lives: notes and confirms every message box,
// and can press "Далее" of the seating progress dialog whenever it is available, or "Отмена".
class ModalWatcher : public QObject {
  public:
    explicit ModalWatcher(bool pressNext = false) : pressNext_(pressNext) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
        qApp->installEventFilter(this);
    }
    ~ModalWatcher() override { qApp->removeEventFilter(this); }
    QStringList messages;
    void setPressNext(bool on) { pressNext_ = on; }
    // "Отмена" is clicked by a call queued when the dialog shows, so it always comes before the
    // dialog takes the engine's result, however fast the engine is.
    void setPressCancel(bool on) { pressCancel_ = on; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show && pressCancel_) {
            if (auto* progress = qobject_cast<ProgressDialog*>(watched)) {
                QMetaObject::invokeMethod(
                    progress,
                    [progress] { QTest::mouseClick(progress->cancelButton(), Qt::LeftButton); },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (box->isVisible()) {
                messages << box->text();
                box->done(QMessageBox::Ok);
            }
            return;
        }
        auto* progress = qobject_cast<ProgressDialog*>(modal);
        if (progress && progress->isVisible() && pressNext_ && !pressCancel_ &&
            progress->nextButton()->isEnabled())
            QTest::mouseClick(progress->nextButton(), Qt::LeftButton);
    }
    bool pressNext_;
    bool pressCancel_ = false;
    QTimer timer_;
};

// Seats rounds 0..k-1 with the engine and fills each with random results, without the window.
inline void playRounds(Tournament& t, int k, std::uint32_t seed) {
    Random random(seed);
    if (!t.hasCompleteNumbering()) {
        generateRandomNames(t, random);
        numberPlayersInOrder(t);
    }
    t.normalizeRounds();
    for (int r = t.currentRound; r < k; ++r) {
        SeatingJob job;
        job.round = r;
        [[maybe_unused]] const bool seated = seatRound(t, job);
        t.normalizeRounds();
        generateRandomResults(t, r, random);
    }
}

} // namespace quelna::mwtest

namespace quelna::mwtest {

// Opens the menu that holds the item from the menu bar and clicks the item, as with a mouse.
inline void chooseMenu(MainWindow& w, QAction* item) {
    auto* bar = w.findChild<QMenuBar*>();
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu || !menu->actions().contains(item))
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(top).center());
        if (!menu->isVisible())
            menu->popup(bar->mapToGlobal(bar->actionGeometry(top).bottomLeft()));
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(item).center());
        return;
    }
}

inline void chooseMenu(MainWindow& w, int command) {
    chooseMenu(w, w.menuAction(command));
}

// A menu item that has no command number, found by its text.
inline QAction* menuItem(MainWindow& w, const QString& text) {
    for (QAction* top : w.findChild<QMenuBar*>()->actions())
        if (QMenu* menu = top->menu())
            for (QAction* a : menu->actions())
                if (a->text() == text)
                    return a;
    return nullptr;
}

// Saves a picture of the window into $QUELNA_SCREENSHOT_DIR when that is set.
inline void snapshot(QWidget* window, const char* name) {
    const QString dir = qEnvironmentVariable("QUELNA_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window->grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

inline bool isRed(QLineEdit* cell) {
    return cell->palette().color(QPalette::Active, QPalette::Text) == QColor(Qt::red);
}

// Presses the seat button; the progress dialog runs modally until the round is seated, and the
// window is the active one again afterwards.
inline void seat(Harness& h) {
    click(h.button("seatButton"));
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(h.w.get());
}

// Places players by hand for the round being prepared: each move clicks a player's cell in the
// round before and then a cell of the round, with placement switched on around the moves.
inline void placeByHand(Harness& h, int round, std::initializer_list<std::pair<int, int>> moves) {
    click(h.button(990));
    for (const auto& [from, to] : moves) {
        click(h.w->seatCell(round - 1, from));
        click(h.w->seatCell(round, to));
    }
    click(h.button(990));
}

// Largest number of tables any two players have shared, team-mates counting once extra.
inline int maxMeetings(const Tournament& t) {
    int most = 0;
    for (int v : t.meetings.cells())
        most = std::max(most, v);
    return most;
}

} // namespace quelna::mwtest
