#pragma once
// Asks for the size of the tournament: players, rounds and test mode. Ends with 1 when accepted,
// 0 when closed by its close box.
#include <QDialog>
#include <QHash>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quelna {

class ParametersDialog : public QDialog {
    Q_OBJECT
  public:
    enum Control {
        PlayersLabel = 1005,
        PlayersEdit = 1000,
        RoundsLabel = 1006,
        RoundsEdit = 1001,
        TestModeCheck = 1004,
        OkButton = 1002,
        OpenButton = 1003,
    };

    explicit ParametersDialog(QWidget* parent = nullptr);

    // Valid after the dialog ended with 1.
    int playerCount() const { return playerCount_; }
    int roundCount() const { return roundCount_; }
    bool testMode() const { return testMode_; }
    // The tournament file chosen with "Открыть турнир...", else empty.
    QString tournamentFile() const { return tournamentFile_; }

    QWidget* control(int id) const { return controls_.value(id); }

    static bool validParameters(int players, int rounds);
    // Fixed and overlapping tables cannot outnumber the tables of a tournament of this size.
    static void limitTableOptions(int players);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void onOk();
    void onOpen();
    void acceptSize(int players, int rounds);

    QHash<int, QWidget*> controls_;
    QLineEdit* playersEdit_ = nullptr;
    QLineEdit* roundsEdit_ = nullptr;
    QCheckBox* testModeCheck_ = nullptr;
    int playerCount_ = 0;
    int roundCount_ = 0;
    bool testMode_ = false;
    QString tournamentFile_;
};

} // namespace quelna
