#include "ui/clock_dialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "core/settings.h"
#include "gui/dialog_buttons.h"
#include "gui/qt_text.h"

namespace quelna {

ClockTime plannedStart(int minutesOfDay, ClockTime now) {
    const QDateTime today = QDateTime::fromMSecsSinceEpoch(now);
    QDateTime at(today.date(), QTime(minutesOfDay / 60, minutesOfDay % 60));
    if (at.toMSecsSinceEpoch() <= now)
        at = at.addDays(1);
    return at.toMSecsSinceEpoch();
}

ClockDialog::ClockDialog(const RoundClock& current, int tables, ClockTime now, QWidget* parent)
    : QDialog(parent), now_(now), extra_list_(current.extra) {
    setWindowTitle(QStringLiteral(u"Часы тура"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    length_ = new QSpinBox(this);
    length_->setRange(1, 600);
    length_->setValue(current.lengthMinutes);
    form->addRow(QStringLiteral(u"&Длина тура, минут:"), length_);

    auto* startRow = new QHBoxLayout;
    startCheck_ = new QCheckBox(QStringLiteral(u"&Отсчёт до начала тура в"), this);
    start_ = new QTimeEdit(this);
    start_->setDisplayFormat(QStringLiteral(u"HH:mm"));
    const bool planned = current.startsAt > now;
    startCheck_->setChecked(planned);
    // Not planned yet: a quarter of an hour from now is a likely start.
    start_->setTime(
        QDateTime::fromMSecsSinceEpoch(planned ? current.startsAt : now + 15 * kMinute).time());
    startRow->addWidget(startCheck_);
    startRow->addWidget(start_);
    startRow->addStretch();
    layout->addLayout(form);
    layout->addLayout(startRow);

    auto* extraRow = new QHBoxLayout;
    table_ = new QSpinBox(this);
    table_->setRange(1, std::max(1, tables));
    table_->setPrefix(QStringLiteral(u"стол № "));
    extra_ = new QSpinBox(this);
    extra_->setRange(0, 120);
    extra_->setSuffix(QStringLiteral(u" мин"));
    auto* give = new QPushButton(QStringLiteral(u"&Назначить"), this);
    give->setAutoDefault(false);
    extraRow->addWidget(new QLabel(QStringLiteral(u"Дополнительное время:"), this));
    extraRow->addWidget(table_);
    extraRow->addWidget(extra_);
    extraRow->addWidget(give);
    layout->addLayout(extraRow);
    extraLabel_ = new QLabel(this);
    extraLabel_->setWordWrap(true);
    layout->addWidget(extraLabel_);
    connect(table_, &QSpinBox::valueChanged, this, [this](int table) {
        for (const TableExtraTime& e : extra_list_)
            if (e.table == table)
                return extra_->setValue(e.minutes);
        extra_->setValue(0);
    });
    connect(give, &QPushButton::clicked, this, [this] {
        RoundClock scratch;
        scratch.extra = extra_list_;
        setTableExtra(scratch, table_->value(), extra_->value());
        extra_list_ = scratch.extra;
        showExtra();
    });

    auto* noteForm = new QFormLayout;
    note_ = new QLineEdit(fromRecord(current.timeUpNote), this);
    note_->setMaxLength(kMaxTitleLength);
    noteForm->addRow(QStringLiteral(u"&Вторая строка после «Время вышло»:"), note_);
    layout->addLayout(noteForm);
    corner_ = new QCheckBox(QStringLiteral(u"&Часы в углу слайдов рассадки и результатов"), this);
    corner_->setChecked(current.corner);
    layout->addWidget(corner_);
    sound_ = new QCheckBox(QStringLiteral(u"&Звуковой сигнал, когда время вышло"), this);
    sound_->setChecked(current.sound);
    layout->addWidget(sound_);

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* reset =
        buttons->addButton(QStringLiteral(u"&Сбросить часы"), QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, [this] {
        reset_ = true;
        extra_list_.clear();
        showExtra();
        accept();
    });
    layout->addWidget(buttons);
    showExtra();
    emit table_->valueChanged(table_->value());
}

void ClockDialog::showExtra() {
    QStringList parts;
    for (const TableExtraTime& e : extra_list_)
        parts << QStringLiteral(u"стол № %1: +%2 мин").arg(e.table).arg(e.minutes);
    extraLabel_->setText(parts.isEmpty() ? QStringLiteral(u"Дополнительного времени нет.")
                                         : parts.join(QStringLiteral(u"; ")));
}

void ClockDialog::applyTo(RoundClock& c) const {
    const bool lengthChanged = c.lengthMinutes != length_->value();
    c.lengthMinutes = length_->value();
    c.timeUpNote = singleLineSetting(toRecord(note_->text()));
    c.corner = corner_->isChecked();
    c.sound = sound_->isChecked();
    c.startsAt = startCheck_->isChecked()
                     ? plannedStart(start_->time().msecsSinceStartOfDay() / 60000, now_)
                     : 0;
    if (reset_ || (lengthChanged && c.state == ClockState::Idle))
        resetClock(c, c.round);
    c.extra = extra_list_;
}

} // namespace quelna
