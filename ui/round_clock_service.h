#pragma once
// The round clock inside the program: the one clock of the tournament, kept in its section of
// the settings file after every change, its commands in the slide-show menu (with keys that
// also work while a slide is shown), its slide and its dialog.
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "core/round_clock.h"
#include "core/tournament.h"
#include "slides/clock_slide.h"

class QAction;
class QMenu;
class QWidget;

namespace quelna {

class RoundClockService : public QObject {
    Q_OBJECT
  public:
    // now: the wall clock (tests pass a fake one). changed: called after every change of the
    // clock, e.g. to publish the players' page again.
    RoundClockService(const Tournament& t, QWidget* window, std::string settingsPath,
                      std::function<ClockTime()> now = wallClockNow);

    // "Часы тура", "Старт", "Пауза", "+1 минута", "−1 минута" and the settings of the clock.
    void addSlideItems(QMenu* slides);
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // How the clock slide is opened (the window's own way, beside it on another screen); without
    // one it opens modally over the window.
    void onOpenSlide(std::function<void()> open) { openSlide_ = std::move(open); }

    // After each refresh of the window: the clock follows the latest seated round.
    void update();

    void start();
    void pause();
    void addMinutes(int minutes);

    const RoundClock& clock() const { return clock_; }
    // What a slide show needs to show the clock and to answer its keys.
    SlideClock slideClock() const;
    QAction* slideAction() const { return slideAction_; }
    QAction* startAction() const { return startAction_; }
    QAction* pauseAction() const { return pauseAction_; }
    QAction* plusAction() const { return plusAction_; }
    QAction* minusAction() const { return minusAction_; }
    QAction* dialogAction() const { return dialogAction_; }
    // What the settings file held that the clock refused at start, as the window was told it;
    // empty when it held nothing of the kind.
    const QString& droppedNote() const { return droppedNote_; }

  private:
    void changed();
    void updateActions();
    void openSlide();
    void openDialog();
    void checkTimeUp();
    void tellDropped(const std::vector<std::string>& dropped);

    const Tournament& t_;
    QWidget* window_;
    std::string settingsPath_;
    std::function<ClockTime()> now_;
    std::function<void()> changed_;
    std::function<void()> openSlide_;
    RoundClock clock_;
    QTimer signalTimer_;
    bool wasUp_ = false;
    QString droppedNote_;
    QAction* slideAction_ = nullptr;
    QAction* startAction_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* plusAction_ = nullptr;
    QAction* minusAction_ = nullptr;
    QAction* dialogAction_ = nullptr;
};

} // namespace quelna
