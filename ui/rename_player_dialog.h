#pragma once
// "Исправить имя игрока": a registered player chosen from the list, his name typed anew. Only the
// name changes; numbers, teams, seats and results stay.
#include <QDialog>
#include <QStringList>
#include <vector>

class QComboBox;
class QLineEdit;

namespace quelna {

class TournamentDocument;

// Asks for the player and his new name, listed in the rows' order (rowPlayer[row] = player), and
// renames him through the document.
void renamePlayer(QWidget* owner, TournamentDocument& doc, const std::vector<int>& rowPlayer);

class RenamePlayerDialog : public QDialog {
    Q_OBJECT
  public:
    // players[i]: "number name" of player i; names[i]: his name as it is.
    RenamePlayerDialog(const QStringList& players, const QStringList& names, int suggested,
                       QWidget* parent);
    int player() const;
    QString name() const;
    QComboBox* playerBox() const { return players_; }
    QLineEdit* nameEdit() const { return name_; }

  private:
    QComboBox* players_ = nullptr;
    QLineEdit* name_ = nullptr;
};

} // namespace quelna
