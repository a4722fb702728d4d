#include "ui/round_clock_service.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>

#include "core/round_clock_file.h"
#include "core/text.h"
#include "slides/slide_show.h"
#include "ui/clock_dialog.h"

namespace quelna {

RoundClockService::RoundClockService(const Tournament& t, QWidget* window, std::string settingsPath,
                                     std::function<ClockTime()> now)
    : QObject(window), t_(t), window_(window), settingsPath_(std::move(settingsPath)),
      now_(std::move(now)) {
    std::vector<std::string> dropped;
    clock_ = loadRoundClock(settingsPath_, now_(), t.tableCount(), &dropped);
    wasUp_ = readClock(clock_, now_()).phase == ClockPhase::TimeUp;
    if (!dropped.empty())
        tellDropped(dropped);
    signalTimer_.setInterval(1000);
    connect(&signalTimer_, &QTimer::timeout, this, [this] { checkTimeUp(); });
    signalTimer_.start();
}

void RoundClockService::tellDropped(const std::vector<std::string>& dropped) {
    QString lines;
    for (const std::string& d : dropped)
        lines += u'\n' + QString::fromUtf8(cp1251ToUtf8(d));
    droppedNote_ = QStringLiteral(u"Часы тура: значения из файла настроек вне допустимых "
                                  u"пределов не приняты, часы остановлены:") +
                   lines;
    // Not modal: the window opens as always, the note waits beside it.
    QTimer::singleShot(0, this, [this] {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral(u"Часы тура"),
                                    droppedNote_, QMessageBox::Ok, window_);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    });
}

void RoundClockService::addSlideItems(QMenu* slides) {
    slides->addSeparator();
    // Function keys: a letter would go into the grid cell that has the focus.
    auto add = [&](const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = slides->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    slideAction_ =
        add(QStringLiteral(u"Часы тура"), QKeySequence(Qt::Key_F9), [this] { openSlide(); });
    startAction_ = add(QStringLiteral(u"Старт"), QKeySequence(Qt::Key_F5), [this] { start(); });
    pauseAction_ = add(QStringLiteral(u"Пауза"), QKeySequence(Qt::Key_F6), [this] { pause(); });
    plusAction_ =
        add(QStringLiteral(u"+1 минута"), QKeySequence(Qt::Key_F8), [this] { addMinutes(1); });
    minusAction_ =
        add(QStringLiteral(u"−1 минута"), QKeySequence(Qt::Key_F7), [this] { addMinutes(-1); });
    dialogAction_ = slides->addAction(QStringLiteral(u"Настройка часов..."));
    connect(dialogAction_, &QAction::triggered, this, [this] { openDialog(); });
    update();
}

void RoundClockService::update() {
    const int before = clock_.round;
    followRound(clock_, t_.currentRound);
    if (clock_.round != before)
        changed();
    else
        updateActions();
}

void RoundClockService::start() {
    startClock(clock_, now_());
    changed();
}

void RoundClockService::pause() {
    pauseClock(clock_, now_());
    changed();
}

void RoundClockService::addMinutes(int minutes) {
    quelna::addMinutes(clock_, minutes);
    changed();
}

SlideClock RoundClockService::slideClock() const {
    SlideClock s;
    s.clock = &clock_;
    s.now = now_;
    s.keys = {startAction_, pauseAction_, plusAction_, minusAction_};
    s.keys.removeAll(nullptr);
    return s;
}

void RoundClockService::changed() {
    // A crash must not stop the clock: every change goes to disk at once. A failed write is no
    // reason to interrupt the organiser; the next change tries again.
    (void)saveRoundClock(clock_, settingsPath_);
    wasUp_ = readClock(clock_, now_()).phase == ClockPhase::TimeUp;
    updateActions();
    if (changed_)
        changed_();
}

void RoundClockService::updateActions() {
    if (!slideAction_)
        return;
    const bool seated = t_.currentRound >= 1 && clock_.round == t_.currentRound;
    slideAction_->setEnabled(seated);
    startAction_->setEnabled(seated && clock_.state != ClockState::Running);
    pauseAction_->setEnabled(seated && clock_.state == ClockState::Running);
    plusAction_->setEnabled(seated);
    minusAction_->setEnabled(seated);
    dialogAction_->setEnabled(seated);
}

void RoundClockService::openSlide() {
    if (openSlide_)
        return openSlide_();
    showSlideShow(window_, t_, SlideKind::RoundClock, slideClock());
}

void RoundClockService::openDialog() {
    ClockDialog dialog(clock_, t_.tableCount(), now_(), window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.applyTo(clock_);
    changed();
}

void RoundClockService::checkTimeUp() {
    const bool up = readClock(clock_, now_()).phase == ClockPhase::TimeUp;
    if (up && !wasUp_ && clock_.sound)
        QApplication::beep();
    wasUp_ = up;
}

} // namespace quelna
