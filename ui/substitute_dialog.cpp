#include "ui/substitute_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text.h"

namespace quelna {

SubstituteDialog::SubstituteDialog(const QString& player, int round, int fixedResult,
                                   bool hasSubstitute, const QString& substituteName,
                                   bool leftForGood, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Замена игрока"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        QStringLiteral(u"Тур %1, место игрока %2.\nИгроку засчитывается %3 за этот тур; очки, "
                       u"введённые за это место, —\nрезультат замены за столом (для проверки "
                       u"суммы стола).")
            .arg(round + 1)
            .arg(player)
            .arg(fixedResult));
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(substituteName, this);
    name_->setMaxLength(kMaxNameLength);
    name_->setPlaceholderText(QStringLiteral(u"необязательно"));
    form->addRow(QStringLiteral(u"Имя замены:"), name_);
    layout->addLayout(form);
    left_ = new QCheckBox(
        QStringLiteral(u"Игрок выбыл до конца турнира (предлагать замену в следующих турах)"),
        this);
    left_->setChecked(leftForGood);
    layout->addWidget(left_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral(u"ОК"), QDialogButtonBox::AcceptRole);
    if (hasSubstitute) {
        QPushButton* clear =
            buttons->addButton(QStringLiteral(u"Убрать замену"), QDialogButtonBox::DestructiveRole);
        connect(clear, &QPushButton::clicked, this, [this] { done(Cleared); });
    }
    buttons->addButton(QStringLiteral(u"Отмена"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { done(Recorded); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString SubstituteDialog::substituteName() const {
    return name_->text().trimmed();
}

bool SubstituteDialog::leftForGood() const {
    return left_->isChecked();
}

} // namespace quelna
