#include "ui/rename_player_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "core/text.h"
#include "gui/dialog_buttons.h"
#include "ui/name_validator.h"

namespace quelna {

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
    auto okRule = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!name_->text().trimmed().isEmpty());
    };
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
