#pragma once
// "Штраф": the penalties of one player in one round. Each is taken from the player's total only,
// never from the table's sum. Listed ones can be removed; OK adds the one typed (unless 0).
#include <QDialog>
#include <vector>

#include "core/adjustments.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quelna {

class PenaltyDialog : public QDialog {
    Q_OBJECT
  public:
    PenaltyDialog(const QString& player, int round, std::vector<Penalty> penalties,
                  QWidget* parent = nullptr);

    // The player's penalties of the round after OK.
    const std::vector<Penalty>& penalties() const { return penalties_; }

    QLineEdit* amountEdit() const { return amount_; }
    QComboBox* reasonBox() const { return reason_; }
    QListWidget* list() const { return list_; }
    QPushButton* removeButton() const { return remove_; }

    void accept() override;

  private:
    void fillList();

    std::vector<Penalty> penalties_;
    QListWidget* list_ = nullptr;
    QPushButton* remove_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QComboBox* reason_ = nullptr;
};

} // namespace quelna
