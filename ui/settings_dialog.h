#pragma once
// Changes the run's settings: seating time limits and table counts, autosave, slide show options.
// "ОК" stores every field; "Отмена" and the close box change nothing.
#include <QDialog>
#include <QHash>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace quelna {

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    enum Control {
        ExhaustiveGroup = 1021,
        ExhaustiveTimeoutLabel = 1023,
        ExhaustiveTimeoutEdit = 1013,
        ExhaustiveTimeoutUpDown = 1015,
        OverlapTablesLabel = 1025,
        OverlapTablesEdit = 1014,
        OverlapTablesUpDown = 1016,
        RandomGroup = 1022,
        RandomTimeoutLabel = 1024,
        RandomTimeoutEdit = 1017,
        RandomTimeoutUpDown = 1018,
        FixedTablesLabel = 1026,
        FixedTablesEdit = 1019,
        FixedTablesUpDown = 1020,
        AutosaveCheck = 1027,
        SlidesGroup = 1028,
        TitleLabel = 1033,
        TitleEdit = 1029,
        SecondaryCheck = 1030,
        IntervalLabel = 1034,
        IntervalEdit = 1031,
        IntervalUpDown = 1032,
        TablesLabel = 1035,
        TablesXEdit = 1036,
        TablesXUpDown = 1037,
        TablesYEdit = 1038,
        TablesYUpDown = 1039,
        LinesLabel = 1040,
        LinesEdit = 1041,
        LinesUpDown = 1042,
        CancelButton = 2,
        OkButton = 1,
        PlanAheadCheck = 1043, // beside the original controls, after their numbers
    };

    // tableCount bounds the two table counts (the tournament's players / 4).
    explicit SettingsDialog(int tableCount, QWidget* parent = nullptr);

    // An edit and its up-down are one spin box: both identifiers give it.
    QWidget* control(int id) const { return controls_.value(id); }

  private:
    QSpinBox* addNumber(int editId, int upDownId, const QRect& rect, int minimum, int maximum,
                        int value);
    void store();

    QHash<int, QWidget*> controls_;
    QSpinBox* exhaustiveTimeout_ = nullptr;
    QSpinBox* overlapTables_ = nullptr;
    QSpinBox* randomTimeout_ = nullptr;
    QSpinBox* fixedTables_ = nullptr;
    QCheckBox* autosave_ = nullptr;
    QCheckBox* planAhead_ = nullptr;
    QLineEdit* title_ = nullptr;
    QCheckBox* secondary_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QSpinBox* tablesX_ = nullptr;
    QSpinBox* tablesY_ = nullptr;
    QSpinBox* lines_ = nullptr;
};

} // namespace quelna
