#include "ui/correct_round_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quelna {

CorrectRoundDialog::CorrectRoundDialog(int lastRound, int suggested, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Исправить результаты тура"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral(u"Очки выбранного тура можно будет изменить в таблице. "
                                           u"Рассадки следующих туров не изменятся."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    box_ = new QSpinBox(this);
    box_->setRange(1, lastRound);
    box_->setValue(suggested);
    form->addRow(QStringLiteral(u"Тур:"), box_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral(u"Исправить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    box_->setFocus();
}

int CorrectRoundDialog::round() const {
    return box_->value() - 1;
}

} // namespace quelna
