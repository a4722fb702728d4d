#pragma once
// "Сервис → Проверка турнира": the referee's check of the tournament on one screen — the fairness
// figures beside what the field allows, the summary, and every finding a line (those breaking a
// rule in red). The rounds are seated anew on a thread of their own; closing the dialog stops it.
#include <QDialog>

#include <atomic>
#include <memory>
#include <thread>

#include "audit/fairness.h"
#include "audit/rederive_round.h"
#include "audit/tournament_check.h"
#include "core/tournament.h"

class QLabel;
class QListWidget;
class QTableWidget;

namespace quelna {

class CheckDialog : public QDialog {
    Q_OBJECT
  public:
    // Checks a copy of the record as it stands.
    CheckDialog(const Tournament& t, const RederiveSettings& settings, QWidget* parent = nullptr);
    ~CheckDialog() override;

    bool finished() const { return finished_; }
    QLabel* summary() const { return summary_; }
    QTableWidget* fairnessTable() const { return fairness_; }
    QListWidget* findingsList() const { return findings_; }

  signals:
    void checkFinished();

  protected:
    void done(int result) override;

  private:
    void showRoundDone(int round);
    void showReport(const CheckReport& report);
    void stopWorker();

    const Tournament t_;
    std::atomic<bool> cancel_{false};
    std::thread worker_;
    bool finished_ = false;
    QLabel* summary_;
    QTableWidget* fairness_;
    QListWidget* findings_;
};

// Opens the dialog over the window with the seating options of the settings.
void showCheckDialog(QWidget* owner, const Tournament& t);

} // namespace quelna
