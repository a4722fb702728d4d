#pragma once
// "Ввод очков стола": the four end-of-game scores of a table in seat order; the results by the
// tournament's rule are shown as they are typed, and OK is refused while the scores do not sum to
// four times the start points or short of it by riichi sticks left on the table.
#include <QDialog>
#include <QStringList>
#include <array>
#include <optional>

#include "core/final_scores.h"

class QLabel;
class QLineEdit;

namespace quelna {

class FinalScoresDialog : public QDialog {
    Q_OBJECT
  public:
    // names: the four seats' players, in seat order.
    FinalScoresDialog(const QStringList& names, const ScoringRule& rule, QWidget* parent = nullptr);

    QLineEdit* scoreEdit(int seat) const { return edits_[seat]; }
    QLabel* resultLabel(int seat) const { return results_[seat]; }
    // The results after OK, in seat order.
    const std::optional<std::array<int, 4>>& results() const { return computed_; }

    void accept() override;

  private:
    void recompute();

    ScoringRule rule_;
    std::array<QLineEdit*, 4> edits_{};
    std::array<QLabel*, 4> results_{};
    QLabel* status_ = nullptr;
    std::optional<std::array<int, 4>> computed_;
    long long sum_ = 0;
    bool allNumbers_ = false;
};

} // namespace quelna
