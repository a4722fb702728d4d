#include "ui/penalty_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "gui/qt_text.h"

namespace quelna {

PenaltyDialog::PenaltyDialog(const QString& player, int round, std::vector<Penalty> penalties,
                             QWidget* parent)
    : QDialog(parent), penalties_(std::move(penalties)) {
    setWindowTitle(QStringLiteral(u"Штраф"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral(u"Тур %1, игрок %2.\nШтраф вычитается только из "
                                                u"суммы игрока, не из суммы стола.")
                                     .arg(round + 1)
                                     .arg(player)));
    layout->addWidget(new QLabel(QStringLiteral(u"Штрафы в этом туре:")));
    list_ = new QListWidget(this);
    list_->setMaximumHeight(90);
    layout->addWidget(list_);
    remove_ = new QPushButton(QStringLiteral(u"Удалить штраф"), this);
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (row >= 0 && row < static_cast<int>(penalties_.size())) {
            penalties_.erase(penalties_.begin() + row);
            fillList();
        }
    });
    layout->addWidget(remove_);
    auto* form = new QFormLayout;
    amount_ = new QLineEdit(QStringLiteral("-20000"), this);
    amount_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9]{0,7}")), amount_));
    form->addRow(QStringLiteral(u"Новый штраф:"), amount_);
    reason_ = new QComboBox(this);
    reason_->setEditable(true);
    reason_->addItems({QStringLiteral(u"Чомбо"), QStringLiteral(u"Опоздание"),
                       QStringLiteral(u"Нарушение этикета")});
    reason_->lineEdit()->setMaxLength(kMaxNameLength);
    form->addRow(QStringLiteral(u"Причина:"), reason_);
    layout->addLayout(form);
    QDialogButtonBox* buttons = okCancelButtons(this);
    layout->addWidget(buttons);
    fillList();
}

void PenaltyDialog::fillList() {
    list_->clear();
    for (const Penalty& p : penalties_)
        list_->addItem(QStringLiteral(u"%1  %2").arg(p.amount).arg(fromRecord(p.reason)));
    list_->setCurrentRow(static_cast<int>(penalties_.size()) - 1);
    remove_->setEnabled(!penalties_.empty());
}

void PenaltyDialog::accept() {
    const int amount = amount_->text().toInt();
    if (amount != 0)
        penalties_.push_back(Penalty{amount, sanitizeName(toRecord(reason_->currentText()))});
    QDialog::accept();
}

} // namespace quelna
