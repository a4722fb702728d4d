#include "ui/final_scores_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quelna {

FinalScoresDialog::FinalScoresDialog(const QStringList& names, const ScoringRule& rule,
                                     QWidget* parent)
    : QDialog(parent), rule_(rule) {
    setWindowTitle(QStringLiteral(u"Ввод очков стола"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral(u"Игрок")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral(u"Очки в конце игры")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral(u"Результат")), 0, 2);
    for (int s = 0; s < 4; ++s) {
        grid->addWidget(new QLabel(names.value(s)), s + 1, 0);
        edits_[s] = new QLineEdit(this);
        edits_[s]->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?[0-9]{0,7}")), edits_[s]));
        grid->addWidget(edits_[s], s + 1, 1);
        results_[s] = new QLabel(this);
        results_[s]->setMinimumWidth(70);
        results_[s]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(results_[s], s + 1, 2);
        connect(edits_[s], &QLineEdit::textChanged, this, [this] { recompute(); });
    }
    layout->addLayout(grid);
    const QString oka =
        rule.returnPoints == rule.startPoints
            ? QStringLiteral(u"без оки")
            : QStringLiteral(u"ока %1").arg(4LL * (rule.returnPoints - rule.startPoints));
    layout->addWidget(
        new QLabel(QStringLiteral(u"Стартовые очки %1, возврат %2, ума %3/%4/%5/%6, %7.")
                       .arg(rule.startPoints)
                       .arg(rule.returnPoints)
                       .arg(rule.uma[0])
                       .arg(rule.uma[1])
                       .arg(rule.uma[2])
                       .arg(rule.uma[3])
                       .arg(oka)));
    // The rule for sticks nobody won, so the organiser knows why a short sum is taken.
    auto* sticks = new QLabel(
        QStringLiteral(u"Если сумма меньше %1 на 1000, 2000... (палочки риичи остались на столе), "
                       u"эти очки получает первое место, как в правилах EMA.")
            .arg(4LL * rule.startPoints),
        this);
    sticks->setObjectName(QStringLiteral("sticksRule"));
    sticks->setWordWrap(true);
    layout->addWidget(sticks);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("sumStatus"));
    layout->addWidget(status_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral(u"ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral(u"Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    recompute();
}

void FinalScoresDialog::recompute() {
    std::array<int, 4> scores{};
    allNumbers_ = true;
    sum_ = 0;
    for (int s = 0; s < 4; ++s) {
        bool ok = false;
        scores[s] = edits_[s]->text().toInt(&ok);
        allNumbers_ = allNumbers_ && ok;
        sum_ += scores[s];
    }
    computed_ = allNumbers_ ? resultsFromFinalScores(scores, rule_) : std::nullopt;
    const int left = computed_ ? pointsLeftOnTable(scores, rule_).value_or(0) : 0;
    for (int s = 0; s < 4; ++s)
        results_[s]->setText(computed_ ? QString::number((*computed_)[s]) : QString());
    const long long expected = 4LL * rule_.startPoints;
    if (!allNumbers_)
        status_->setText(QStringLiteral(u"Введите очки всех четырёх игроков."));
    else if (!computed_)
        status_->setText(
            QStringLiteral(u"Сумма очков %1, а должна быть %2 (или меньше на целые тысячи).")
                .arg(sum_)
                .arg(expected));
    else if (left > 0)
        status_->setText(QStringLiteral(u"На столе осталось %1 (палочки риичи): их получает первое "
                                        u"место.")
                             .arg(left));
    else
        status_->setText(QStringLiteral(u"Сумма очков верна."));
}

void FinalScoresDialog::accept() {
    if (!computed_) {
        QMessageBox::warning(this, QStringLiteral(u"Предупреждение"),
                             allNumbers_ ? QStringLiteral(u"Сумма очков стола %1 не равна %2. "
                                                          u"Проверьте очки игроков.")
                                               .arg(sum_)
                                               .arg(4LL * rule_.startPoints)
                                         : QStringLiteral(u"Введите очки всех четырёх игроков."));
        return;
    }
    QDialog::accept();
}

} // namespace quelna
