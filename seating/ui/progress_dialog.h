#pragma once
// The modal dialog behind which one round is seated on a worker thread: it shows the engine's
// progress, counts the phase time limits and lets the organiser move on or give up.
#include <QDialog>
#include <QFont>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QCloseEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QShowEvent;
class QTimer;

namespace quelna {

struct Tournament;
struct SeatingJob;

// What exec() returns.
enum class SeatingResult { Seated = 0, Cancelled = 1, Failed = 2 };

class ProgressDialog : public QDialog {
    Q_OBJECT

  public:
    // The seating starts when the dialog is first shown; exec() returns a SeatingResult as int.
    ProgressDialog(Tournament& t, int round, QWidget* parent = nullptr);
    // Asks a still running seating to stop and waits for the worker; never leaves it detached.
    ~ProgressDialog() override;

    // Window titles of the three phases.
    static QString exhaustiveTitle();
    static QString randomTitle();
    static QString improveTitle();
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

    int tickCount() const { return tickCount_; }
    int tickLimit() const { return tickLimit_; }
    bool timerRunning() const;
    bool stopRequested() const { return stopRequested_.load(); }
    bool switchRequested() const { return switchRequested_.load(); }
    bool cancelRequested() const { return cancelRequested_.load(); }
    // The seating ended because no seating without repeat meetings exists (not by a limit).
    bool noSeatingExists() const { return noSeatingExists_.load(); }
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
    void finishSeating(int result);
    void startPhase(int minutes);
    void cancelPressed();
    void nextPressed();
    void requestCancel();
    void requestSwitch();
    // Called on the worker: runs fn on the user-interface thread and waits until it has run.
    void runOnUi(std::function<void()> fn);
    void showVariants();

    // Notifications, carried out on the user-interface thread.
    void tablesFilled(SeatingJob& job, int n);
    void factorFound(SeatingJob& job, int v);
    void randomStarted();
    void improveStarted();
    void timerReset();
    void variantsReset(SeatingJob& job);
    // A phase starting after a cancel: the engine has just cleared the stop flag, raise it again.
    void keepCancelled();

    Tournament& tournament_;
    int round_;

    QLabel* variantsLabel_ = nullptr;
    QLineEdit* variantsField_ = nullptr;
    QLabel* tablesLabel_ = nullptr;
    QLineEdit* tablesField_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QTimer* timer_ = nullptr;

    int tickCount_ = 0;
    int tickLimit_ = 0;

    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> switchRequested_{false};
    std::atomic<bool> cancelRequested_{false};
    std::atomic<bool> noSeatingExists_{false};

    // Variants of the current phase, counted on the worker; the field shows thousands of them.
    std::atomic<std::int64_t> variantCount_{0};
    std::atomic<std::int64_t> variantsShown_{0};
    std::atomic<bool> variantsUpdatePending_{false};

    bool started_ = false;
    bool finished_ = false;
    int finalResult_ = static_cast<int>(SeatingResult::Cancelled);
    std::thread worker_;

    // The worker's wait for a notification to be carried out; closing_ releases it for good.
    std::mutex uiMutex_;
    std::condition_variable uiDone_;
    bool uiCallDone_ = false;
    bool closing_ = false;
};

} // namespace quelna
