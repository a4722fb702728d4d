#pragma once
// The modal dialog behind which the next round is seated on a worker thread: it shows the
// seating's progress, ticks the seconds of its phase clock and lets the organiser move on or
// give up. What a seating does, and undoes on failure, is the seating's own business.
#include <QDialog>
#include <QFont>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "seating/seat_next_round.h"

class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QShowEvent;
class QTimer;

namespace quelna {

struct Tournament;

// The options of the next seating as the organiser set them.
NextRoundOptions nextRoundOptionsFromSettings();

// Which seating the dialog runs: the next round by the settings' phases, or, after the organiser
// took the offer, the one with the fewest repeat meetings (no phases, no limits, only Отмена).
enum class SeatingRun { NextRound, FewestRepeats };

class ProgressDialog : public QDialog, private SeatingObserver {
    Q_OBJECT

  public:
    // Seats t.currentRound with the options and limits of the settings, drawing from the run's
    // generator. The seating starts when the dialog is first shown; exec() returns a
    // SeatingResult as int.
    explicit ProgressDialog(Tournament& t, QWidget* parent = nullptr);
    ProgressDialog(Tournament& t, SeatingRun run, QWidget* parent = nullptr);
    // Asks a still running seating to stop and waits for the worker; never leaves it detached.
    ~ProgressDialog() override;

    // Window titles of the three phases.
    static QString exhaustiveTitle();
    static QString randomTitle();
    static QString improveTitle();
    static QString fewestRepeatsTitle();
    // The font the title is measured in, and the width every title needs in the caption.
    static QFont titleBarFont();
    static int minimumTitleWidth(const QWidget* dialog);

    QLabel* variantsLabel() const { return variantsLabel_; }
    QLineEdit* variantsField() const { return variantsField_; }
    QLabel* tablesLabel() const { return tablesLabel_; }
    QLineEdit* tablesField() const { return tablesField_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* nextButton() const { return nextButton_; }

    int tickCount() const { return static_cast<int>(control_.secondsElapsed()); }
    int tickLimit() const { return static_cast<int>(control_.secondLimit()); }
    bool timerRunning() const;
    bool stopRequested() const { return control_.stopRequested(); }
    bool switchRequested() const { return control_.switchRequested(); }
    bool cancelRequested() const { return control_.cancelRequested(); }
    // The seating ended because no seating without repeat meetings exists (not by a limit).
    bool noSeatingExists() const { return finished_ && outcome_.noSeatingExists; }
    // What the seating reached; read once the dialog has closed.
    const SeatingOutcome& outcome() const { return outcome_; }
    // True once the worker has ended and its result has been taken.
    bool workerFinished() const { return finished_; }

    // One second of the current phase; the timer calls it, and tests call it to skip the wait.
    void timerTick();

  public slots:
    // Esc and the close box ask the engine to stop; the dialog closes when the worker is done.
    void reject() override;
    // Ignored while the worker runs, so nothing closes the dialog under a running seating.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void startWorker();
    void showFewestRepeatsRun();
    void finishSeating(const SeatingOutcome& outcome);
    void startPhase();
    void cancelPressed();
    void nextPressed();
    void requestCancel();
    // Called on the worker: runs fn on the user-interface thread and waits until it has run.
    void runOnUi(std::function<void()> fn);
    void showVariants();

    // The seating's notifications, on the worker; shown on the user-interface thread.
    void phaseStarted(SeatingPhase phase) override;
    void clockRestarted() override;
    void variantsReset() override;
    void variantCounted(long long inPhase) override;
    void tablesFilled(int tables) override;
    void factorFound(int displayFactor) override;
    void planningStarted() override;

    Tournament& tournament_;
    const SeatingRun run_;
    const NextRoundOptions options_;
    SeatingControl control_;

    QLabel* variantsLabel_ = nullptr;
    QLineEdit* variantsField_ = nullptr;
    QLabel* tablesLabel_ = nullptr;
    QLineEdit* tablesField_ = nullptr;
    QLabel* planLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QTimer* timer_ = nullptr;

    // Thousands of variants of the current phase, as the field shows them.
    std::atomic<std::int64_t> variantsShown_{0};
    std::atomic<bool> variantsUpdatePending_{false};

    bool started_ = false;
    bool finished_ = false;
    int finalResult_ = static_cast<int>(SeatingResult::Cancelled);
    SeatingOutcome outcome_;
    std::thread worker_;

    // The worker's wait for a notification to be carried out; closing_ releases it for good.
    std::mutex uiMutex_;
    std::condition_variable uiDone_;
    bool uiCallDone_ = false;
    bool closing_ = false;
};

} // namespace quelna
