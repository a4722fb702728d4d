#pragma once
// "Часы тура": the round length, the planned start, extra time for single tables, the second
// line of the time-up text, the corner clock, the signal, and a reset.
#include <QDialog>

#include "core/round_clock.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimeEdit;

namespace quelna {

class ClockDialog : public QDialog {
    Q_OBJECT
  public:
    // tables: the tables of the round (for the extra time). now: to place the planned start.
    ClockDialog(const RoundClock& current, int tables, ClockTime now, QWidget* parent = nullptr);

    // Applies the choices to the clock as it is by now (it may have run meanwhile).
    void applyTo(RoundClock& c) const;

    QSpinBox* lengthBox() const { return length_; }
    QCheckBox* startCheck() const { return startCheck_; }
    QTimeEdit* startEdit() const { return start_; }
    QSpinBox* tableBox() const { return table_; }
    QSpinBox* extraBox() const { return extra_; }
    QLineEdit* noteEdit() const { return note_; }
    QCheckBox* cornerCheck() const { return corner_; }
    QCheckBox* soundCheck() const { return sound_; }
    bool resetAsked() const { return reset_; }

  private:
    void showExtra();

    ClockTime now_;
    std::vector<TableExtraTime> extra_list_;
    bool reset_ = false;
    QSpinBox* length_ = nullptr;
    QCheckBox* startCheck_ = nullptr;
    QTimeEdit* start_ = nullptr;
    QSpinBox* table_ = nullptr;
    QSpinBox* extra_ = nullptr;
    QLabel* extraLabel_ = nullptr;
    QLineEdit* note_ = nullptr;
    QCheckBox* corner_ = nullptr;
    QCheckBox* sound_ = nullptr;
};

// The planned start as a time of day today, or tomorrow when that time has passed already.
ClockTime plannedStart(int minutesOfDay, ClockTime now);

} // namespace quelna
