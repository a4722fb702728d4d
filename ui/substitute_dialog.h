#pragma once
// "Замена игрока": a substitute plays the seat of a registered player in one round. The player
// counts the fixed substitute result; the points typed for the seat are the substitute's own.
#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace quelna {

class SubstituteDialog : public QDialog {
    Q_OBJECT
  public:
    enum Outcome { Recorded = 1, Cleared = 2 }; // exec() results besides Rejected

    // substituteName is empty and hasSubstitute false when the seat has none yet.
    SubstituteDialog(const QString& player, int round, int fixedResult, bool hasSubstitute,
                     const QString& substituteName, bool leftForGood, QWidget* parent = nullptr);

    QString substituteName() const;
    bool leftForGood() const;
    QLineEdit* nameEdit() const { return name_; }
    QCheckBox* leftCheck() const { return left_; }

  private:
    QLineEdit* name_ = nullptr;
    QCheckBox* left_ = nullptr;
};

} // namespace quelna
