#include "ui/rename_player_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "core/text.h"
#include "gui/dialog_buttons.h"
#include "gui/qt_text.h"
#include "ui/name_validator.h"
#include "ui/tournament_document.h"

namespace quelna {

void renamePlayer(QWidget* owner, TournamentDocument& doc, const std::vector<int>& rowPlayer) {
    const Tournament& t = doc.tournament();
    QStringList players;
    QStringList names;
    for (const int p : rowPlayer) {
        players << QString::number(t.playerNumber[p] + 1) + QLatin1Char(' ') +
                       fromRecord(t.names[p]);
        names << fromRecord(t.names[p]);
    }
    RenamePlayerDialog dialog(players, names, 0, owner);
    if (dialog.exec() == QDialog::Accepted && dialog.player() >= 0)
        doc.renamePlayer(rowPlayer[dialog.player()], dialog.name());
}

RenamePlayerDialog::RenamePlayerDialog(const QStringList& players, const QStringList& names,
                                       int suggested, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Исправить имя игрока"));
    setObjectName(QStringLiteral(u"renamePlayerDialog"));
    auto* form = new QFormLayout(this);
    players_ = new QComboBox(this);
    players_->setObjectName(QStringLiteral(u"player"));
    players_->addItems(players);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral(u"name"));
    name_->setMaxLength(kMaxNameLength);
    name_->setValidator(new NameValidator(name_));
    form->addRow(QStringLiteral(u"Игрок:"), players_);
    form->addRow(QStringLiteral(u"Новое имя:"), name_);
    QDialogButtonBox* buttons = okCancelButtons(this);
    form->addRow(buttons);
    auto showName = [this, names](int i) {
        name_->setText(i >= 0 && i < names.size() ? names[i] : QString());
        name_->selectAll();
    };
    connect(players_, &QComboBox::currentIndexChanged, this, showName);
    players_->setCurrentIndex(suggested >= 0 && suggested < players.size() ? suggested : 0);
    showName(players_->currentIndex());
    // An empty name would leave a player nobody can find on the lists.
    QAbstractButton* ok = buttons->buttons().value(0);
    auto okRule = [this, ok] { ok->setEnabled(!name_->text().trimmed().isEmpty()); };
    connect(name_, &QLineEdit::textChanged, this, okRule);
    okRule();
    name_->setFocus();
}

int RenamePlayerDialog::player() const {
    return players_->currentIndex();
}

QString RenamePlayerDialog::name() const {
    return name_->text().trimmed();
}

} // namespace quelna
