#include "audit/ui/check_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "audit/check_report.h"
#include "core/settings.h"
#include "seating/ui/progress_dialog.h"

namespace quelna {

namespace {

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

void setRow(QTableWidget* table, int row, const QString& name, const QString& value,
            const QString& allowed) {
    const QString cells[] = {name, value, allowed};
    for (int c = 0; c < 3; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setFlags(Qt::ItemIsEnabled);
        table->setItem(row, c, item);
    }
}

void fillFairness(QTableWidget* table, const FairnessFigures& f) {
    table->setRowCount(4);
    const QString n = QStringLiteral("%1");
    setRow(table, 0, QStringLiteral(u"Повторные встречи"), n.arg(f.repeatMeetings),
           QStringLiteral(u"неизбежно: %1").arg(f.repeatFloor));
    setRow(table, 1, QStringLiteral(u"Встречи игроков одной команды"), n.arg(f.teamMateMeetings),
           QStringLiteral(u"неизбежно: %1").arg(f.teamMateFloor));
    setRow(table, 2, QStringLiteral(u"Чаще всего за одним номером стола"), n.arg(f.mostAtOneTable),
           QStringLiteral(u"не меньше %1").arg(f.mostAtOneTableFloor));
    if (f.commonMeasured)
        setRow(table, 3, QStringLiteral(u"Общих соперников у не встречавшихся, меньше всего"),
               n.arg(f.fewestCommon),
               QStringLiteral(u"в среднем %1, при случайной рассадке %2")
                   .arg(f.averageCommon, 0, 'f', 1)
                   .arg(f.randomSeatingCommon, 0, 'f', 1));
    else
        setRow(table, 3, QStringLiteral(u"Общих соперников у не встречавшихся"),
               QStringLiteral(u"—"), QStringLiteral(u"считаются после пятого тура"));
    table->resizeColumnsToContents();
}

} // namespace

CheckDialog::CheckDialog(const Tournament& t, const RederiveSettings& settings, QWidget* parent)
    : QDialog(parent), t_(t), summary_(new QLabel(this)), fairness_(new QTableWidget(0, 3, this)),
      findings_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral(u"Проверка турнира"));
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    summary_->setText(
        QStringLiteral(u"Туры рассаживаются заново: проверено 0 из %1...").arg(t_.currentRound));
    fairness_->setObjectName(QStringLiteral("fairness"));
    fairness_->setHorizontalHeaderLabels({QStringLiteral(u"Справедливость рассадки"),
                                          QStringLiteral(u"Сейчас"),
                                          QStringLiteral(u"Что позволяет это поле")});
    fairness_->verticalHeader()->hide();
    fairness_->horizontalHeader()->setStretchLastSection(true);
    fillFairness(fairness_, fairnessOf(t_));
    fairness_->setFixedHeight(fairness_->horizontalHeader()->height() +
                              4 * fairness_->rowHeight(0) + 2 * fairness_->frameWidth());
    findings_->setObjectName(QStringLiteral("findings"));
    findings_->setWordWrap(true); // a long line is read whole, not scrolled to
    findings_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral(u"Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fairness_);
    layout->addWidget(summary_);
    layout->addWidget(findings_, 1);
    layout->addWidget(buttons);
    resize(900, 640);

    RederiveSettings run = settings;
    run.cancel = &cancel_;
    worker_ = std::thread([this, run] {
        const CheckReport report = checkTournament(t_, run, nullptr, [this](int round) {
            QMetaObject::invokeMethod(
                this, [this, round] { showRoundDone(round); }, Qt::QueuedConnection);
        });
        if (cancel_.load())
            return;
        QMetaObject::invokeMethod(
            this, [this, report] { showReport(report); }, Qt::QueuedConnection);
    });
}

CheckDialog::~CheckDialog() {
    stopWorker();
}

void CheckDialog::stopWorker() {
    cancel_.store(true);
    if (worker_.joinable())
        worker_.join();
}

void CheckDialog::done(int result) {
    stopWorker();
    QDialog::done(result);
}

void CheckDialog::showRoundDone(int round) {
    if (!finished_)
        summary_->setText(QStringLiteral(u"Туры рассаживаются заново: проверено %1 из %2...")
                              .arg(round + 1)
                              .arg(t_.currentRound));
}

void CheckDialog::showReport(const CheckReport& report) {
    finished_ = true;
    summary_->setText(utf8(checkSummaryLine(report)));
    for (const Finding& f : report.findings) {
        auto* item = new QListWidgetItem(utf8(f.text), findings_);
        if (f.breaksRule)
            item->setForeground(Qt::red);
    }
    emit checkFinished();
}

void showCheckDialog(QWidget* owner, const Tournament& t) {
    RederiveSettings check;
    check.seating = nextRoundOptionsFromSettings().seating;
    check.exhaustiveSeconds = 60LL * std::max(0, settings().exhaustiveTimeout);
    CheckDialog dialog(t, check, owner);
    dialog.exec();
}

} // namespace quelna
