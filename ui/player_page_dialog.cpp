#include "ui/player_page_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/dialog_buttons.h"
#include "ui/player_page_service.h"

namespace quelna {

PlayerPageDialog::PlayerPageDialog(const PlayerPageSettings& current, bool running, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Страница для игроков"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral(u"Игроки открывают на телефонах рассадку последнего тура и "
                                  u"турнирную таблицу. Телефоны должны быть в той же сети, что "
                                  u"и этот компьютер; интернет не нужен."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    enabled_ = new QCheckBox(QStringLiteral(u"&Включить страницу для игроков"), this);
    enabled_->setChecked(current.enabled && running);
    layout->addWidget(enabled_);
    auto* form = new QFormLayout;
    port_ = new QSpinBox(this);
    port_->setRange(1, 65535);
    port_->setGroupSeparatorShown(false);
    port_->setValue(current.port);
    form->addRow(QStringLiteral(u"&Порт:"), port_);
    layout->addLayout(form);

    addresses_ = new QLabel(this);
    addresses_->setTextFormat(Qt::PlainText);
    addresses_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addresses_->setWordWrap(true);
    layout->addWidget(addresses_);

    QDialogButtonBox* buttons = okCancelButtons(this);
    layout->addWidget(buttons);

    connect(enabled_, &QCheckBox::toggled, this, [this] { showAddresses(); });
    connect(port_, &QSpinBox::valueChanged, this, [this] { showAddresses(); });
    showAddresses();
    setMinimumWidth(420);
}

PlayerPageSettings PlayerPageDialog::wanted() const {
    return {enabled_->isChecked(), port_->value()};
}

void PlayerPageDialog::showAddresses() {
    port_->setEnabled(true);
    if (!enabled_->isChecked()) {
        addresses_->setText(QStringLiteral(u"Страница выключена."));
        return;
    }
    const QStringList list = pageAddresses(port_->value());
    if (list.isEmpty()) {
        addresses_->setText(QStringLiteral(u"Компьютер не подключён к сети: телефоны не увидят "
                                           u"страницу, пока он не подключится."));
        return;
    }
    addresses_->setText(QStringLiteral(u"Адреса страницы:\n") + list.join(u'\n'));
}

} // namespace quelna
