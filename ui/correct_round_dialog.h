#pragma once
// Asks which past round's results are to be corrected.
#include <QDialog>

class QSpinBox;

namespace quelna {

class CorrectRoundDialog : public QDialog {
    Q_OBJECT
  public:
    // Rounds 1..lastRound (counted from 1) can be chosen; suggested is preselected.
    CorrectRoundDialog(int lastRound, int suggested, QWidget* parent);
    // The chosen round, counted from 0.
    int round() const;
    QSpinBox* roundBox() const { return box_; }

  private:
    QSpinBox* box_ = nullptr;
};

} // namespace quelna
