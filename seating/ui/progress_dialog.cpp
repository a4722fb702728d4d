#include "seating/ui/progress_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <system_error>

#include "core/random.h"
#include "core/settings.h"
#include "core/tournament.h"

namespace quelna {

namespace {

constexpr int kTickMs = 1000;
// The settings dialog keeps limits within 0..10 minutes; anything beyond is cut so that the
// second count and the bar's range cannot overflow.
constexpr int kMaxMinutes = 24 * 60;

PhaseLimits limitsFromSettings(SeatingRun run) {
    PhaseLimits limits;
    if (run == SeatingRun::FewestRepeats)
        return PhaseLimits{0, 0, 0, 0}; // a search of its own that ends by itself
    limits.exhaustiveSeconds = 60 * std::clamp(settings().exhaustiveTimeout, 0, kMaxMinutes);
    limits.randomSeconds = 60 * std::clamp(settings().randomTimeout, 0, kMaxMinutes);
    return limits;
}

} // namespace

NextRoundOptions nextRoundOptionsFromSettings() {
    NextRoundOptions options;
    options.seating.method = ExhaustiveMethod::Fast;
    options.seating.fixedTables = settings().fixedTables;
    options.seating.overlapTables = settings().overlapTables;
    options.seating.planAhead = settings().planAhead;
    options.substituteResult = settings().substituteResult;
    return options;
}

QFont ProgressDialog::titleBarFont() {
    // The platform's caption font where it reports one (Windows does); window managers that
    // draw their own titles mostly draw them bold, so the bold face is the one measured.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return font;
}

int ProgressDialog::minimumTitleWidth(const QWidget* dialog) {
    const QFontMetrics fm(titleBarFont());
    const int text =
        std::max({fm.horizontalAdvance(exhaustiveTitle()), fm.horizontalAdvance(randomTitle()),
                  fm.horizontalAdvance(improveTitle())});
    // The caption holds the window icon and the close box, and some window managers add
    // minimise and maximise boxes to every window: room for four buttons of caption height,
    // plus a margin on either side of the text.
    QStyle* style = dialog->style();
    const int button =
        std::max(style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog), fm.height() + 4);
    return text + 4 * button + 2 * fm.averageCharWidth();
}

QString ProgressDialog::exhaustiveTitle() {
    return QStringLiteral(u"Рассадка игроков полным перебором...");
}
QString ProgressDialog::randomTitle() {
    return QStringLiteral(u"Рассадка игроков подбором...");
}
QString ProgressDialog::improveTitle() {
    return QStringLiteral(u"Улучшение рассадки подбором...");
}
QString ProgressDialog::fewestRepeatsTitle() {
    return QStringLiteral(u"Рассадка с повторами...");
}

ProgressDialog::ProgressDialog(Tournament& t, QWidget* parent)
    : ProgressDialog(t, SeatingRun::NextRound, parent) {}

ProgressDialog::ProgressDialog(Tournament& t, SeatingRun run, QWidget* parent)
    : QDialog(parent), tournament_(t), run_(run), options_(nextRoundOptionsFromSettings()),
      control_(limitsFromSettings(run)) {
    // Closed before the seating started: nothing was tried, so nothing failed.
    outcome_.result = SeatingResult::Cancelled;
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    // Sizes in dialog units of the dialog font, as the rest of the program measures them.
    const QFontMetrics fm(font());
    const int du = std::max(1, fm.averageCharWidth());
    const auto dx = [du](int x) { return x * du / 4; };

    variantsLabel_ = new QLabel(this);
    variantsLabel_->setObjectName(QStringLiteral(u"variantsLabel"));
    variantsField_ = new QLineEdit(this);
    variantsField_->setObjectName(QStringLiteral(u"variantsField"));
    tablesLabel_ = new QLabel(this);
    tablesLabel_->setObjectName(QStringLiteral(u"tablesLabel"));
    tablesField_ = new QLineEdit(this);
    tablesField_->setObjectName(QStringLiteral(u"tablesField"));
    // Shown once the seating is found and the rounds after it are being checked.
    planLabel_ = new QLabel(QStringLiteral(u"Проверка следующих туров..."), this);
    planLabel_->setObjectName(QStringLiteral(u"planLabel"));
    planLabel_->hide();
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral(u"progressBar"));
    progressBar_->setTextVisible(false);
    cancelButton_ = new QPushButton(this);
    cancelButton_->setObjectName(QStringLiteral(u"cancelButton"));
    nextButton_ = new QPushButton(this);
    nextButton_->setObjectName(QStringLiteral(u"nextButton"));

    for (QLineEdit* field : {variantsField_, tablesField_}) {
        field->setReadOnly(true);
        field->setAlignment(Qt::AlignCenter);
        field->setFixedWidth(dx(60));
        field->setFocusPolicy(Qt::NoFocus);
    }
    // The second label changes its text; its column is wide enough for both.
    const int labelWidth = std::max({fm.horizontalAdvance(QStringLiteral(u"Тыс. вариантов:")),
                                     fm.horizontalAdvance(QStringLiteral(u"Заполнено столов:")),
                                     fm.horizontalAdvance(QStringLiteral(u"Фактор рассадки:"))}) +
                           dx(4);
    variantsLabel_->setMinimumWidth(labelWidth);
    tablesLabel_->setMinimumWidth(labelWidth);
    // Enter must not end a seating by accident.
    cancelButton_->setAutoDefault(false);
    nextButton_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(variantsLabel_, 0, 0);
    grid->addWidget(variantsField_, 0, 1);
    grid->addWidget(tablesLabel_, 1, 0);
    grid->addWidget(tablesField_, 1, 1);
    grid->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancelButton_, 3);
    buttons->addWidget(nextButton_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(planLabel_);
    layout->addWidget(progressBar_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Each phase title is the only sign of the phase, so the dialog is wide enough for the
    // longest one in the title-bar font next to the caption buttons.
    const QMargins margins = layout->contentsMargins();
    progressBar_->setMinimumWidth(
        std::max(dx(150), minimumTitleWidth(this) - margins.left() - margins.right()));

    setWindowTitle(exhaustiveTitle());
    variantsLabel_->setText(QStringLiteral(u"Тыс. вариантов:"));
    tablesLabel_->setText(QStringLiteral(u"Заполнено столов:"));
    variantsField_->setText(QStringLiteral(u"0"));
    tablesField_->setText(QStringLiteral(u"0"));
    cancelButton_->setText(QStringLiteral(u"Отмена"));
    nextButton_->setText(QStringLiteral(u"Далее"));

    progressBar_->setRange(0, tickLimit() + 1);
    progressBar_->setValue(0);

    // Plain texts: the application shows every tip after 300 ms, wrapped at 200 pixels.
    nextButton_->setToolTip(
        QStringLiteral(u"Перейти к поиску рассадки алгоритмом случайного подбора"));

    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &ProgressDialog::timerTick);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressDialog::cancelPressed);
    connect(nextButton_, &QPushButton::clicked, this, &ProgressDialog::nextPressed);
    if (run_ == SeatingRun::FewestRepeats)
        showFewestRepeatsRun();
}

// No phases to move on and nothing counted: a busy bar and the way out.
void ProgressDialog::showFewestRepeatsRun() {
    setWindowTitle(fewestRepeatsTitle());
    for (QWidget* w : std::initializer_list<QWidget*>{variantsLabel_, variantsField_, tablesLabel_,
                                                      tablesField_, nextButton_})
        w->hide();
    progressBar_->setRange(0, 0);
}

ProgressDialog::~ProgressDialog() {
    if (worker_.joinable()) {
        // Destroyed under a running seating: stop it, release a waiting notification, and
        // wait, so that neither the job nor this dialog is used after they are gone.
        control_.requestCancel();
        {
            std::lock_guard lock(uiMutex_);
            closing_ = true;
        }
        uiDone_.notify_all();
        worker_.join();
    }
}

bool ProgressDialog::timerRunning() const {
    return timer_->isActive();
}

void ProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_)
        startWorker();
}

void ProgressDialog::startWorker() {
    started_ = true;
    variantsShown_ = 0;

    auto work = [this] {
        const SeatingOutcome outcome =
            run_ == SeatingRun::FewestRepeats
                ? seatWithFewestRepeatsNow(tournament_, options_, &control_)
                : seatNextRound(tournament_, options_, runRandom(), *this, control_);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishSeating(outcome); }, Qt::QueuedConnection);
    };
    try {
        worker_ = std::thread(std::move(work));
    } catch (const std::system_error&) {
        // No thread to be had: report a failed seating rather than wait for one forever.
        QMetaObject::invokeMethod(
            this, [this] { finishSeating(SeatingOutcome{}); }, Qt::QueuedConnection);
        return;
    }
    if (tickLimit() > 0)
        timer_->start();
}

void ProgressDialog::runOnUi(std::function<void()> fn) {
    {
        std::lock_guard lock(uiMutex_);
        if (closing_)
            return;
        uiCallDone_ = false;
    }
    QMetaObject::invokeMethod(
        this,
        [this, fn = std::move(fn)] {
            fn();
            {
                std::lock_guard lock(uiMutex_);
                uiCallDone_ = true;
            }
            uiDone_.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(uiMutex_);
    uiDone_.wait(lock, [this] { return uiCallDone_ || closing_; });
}

void ProgressDialog::finishSeating(const SeatingOutcome& outcome) {
    timer_->stop();
    if (worker_.joinable())
        worker_.join();
    finished_ = true;
    outcome_ = outcome;
    finalResult_ = static_cast<int>(outcome.result);
    QDialog::done(finalResult_);
}

void ProgressDialog::done(int) {
    // Outside a running seating the caller must never read "seated" from a generic close code
    // (Rejected is 0): before the seating nothing was seated, after it its own result holds.
    if (!started_)
        QDialog::done(static_cast<int>(SeatingResult::Cancelled));
    else if (finished_)
        QDialog::done(finalResult_);
}

void ProgressDialog::reject() {
    if (!started_ || finished_) {
        done(static_cast<int>(SeatingResult::Cancelled));
        return;
    }
    // The close box only asks the engine to stop; the timer keeps running.
    requestCancel();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    if (!started_ || finished_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    requestCancel();
}

void ProgressDialog::cancelPressed() {
    if (finished_)
        return;
    timer_->stop();
    requestCancel();
}

void ProgressDialog::nextPressed() {
    if (finished_)
        return;
    timer_->stop();
    control_.requestSwitch();
    // One switch per phase: a second one could arrive after the engine has cleared the flags
    // and stop the next phase at once. The next phase offers it again if it has a use.
    nextButton_->setEnabled(control_.switchOffered());
}

void ProgressDialog::requestCancel() {
    control_.requestCancel();
    nextButton_->setEnabled(control_.switchOffered());
}

void ProgressDialog::timerTick() {
    control_.secondPassed();
    progressBar_->setValue(std::min(tickCount(), tickLimit()));
    nextButton_->setEnabled(control_.switchOffered());
}

// The bar and the timer follow the limit of the phase that has just started; a phase without
// one must not be ended by the timer of the phase before.
void ProgressDialog::startPhase() {
    progressBar_->setRange(0, tickLimit() + 1);
    progressBar_->setValue(0);
    if (tickLimit() > 0)
        timer_->start();
    else
        timer_->stop();
}

void ProgressDialog::showVariants() {
    variantsUpdatePending_ = false;
    variantsField_->setText(QString::number(variantsShown_.load()));
}

void ProgressDialog::tablesFilled(int tables) {
    runOnUi([this, tables] { tablesField_->setText(QString::number(tables)); });
}

void ProgressDialog::planningStarted() {
    runOnUi([this] { planLabel_->show(); });
}

void ProgressDialog::factorFound(int displayFactor) {
    runOnUi([this, displayFactor] { tablesField_->setText(QString::number(displayFactor)); });
}

void ProgressDialog::phaseStarted(SeatingPhase phase) {
    if (phase == SeatingPhase::Exhaustive)
        return; // the dialog opens in it
    runOnUi([this, phase] {
        nextButton_->setEnabled(control_.switchOffered());
        if (phase == SeatingPhase::Random) {
            setWindowTitle(randomTitle());
        } else {
            setWindowTitle(improveTitle());
            tablesLabel_->setText(QStringLiteral(u"Фактор рассадки:"));
            nextButton_->setToolTip(QStringLiteral(u"Взять лучшее из найденных решений сейчас"));
            tablesField_->setToolTip(
                QStringLiteral(u"Показатель, показывающий качество лучшей найденной схемы "
                               u"рассадки (чем меньше значение - тем лучше)"));
        }
        startPhase();
    });
}

void ProgressDialog::clockRestarted() {
    runOnUi([this] { progressBar_->setValue(0); });
}

void ProgressDialog::variantsReset() {
    // The worker waits for this call, so the count cannot move meanwhile.
    runOnUi([this] {
        variantsShown_ = 0;
        variantsField_->setText(QStringLiteral(u"0"));
    });
}

// The most frequent call of the search: touch the display once per 1000.
void ProgressDialog::variantCounted(long long inPhase) {
    if (inPhase % 1000 != 0)
        return;
    variantsShown_.store(inPhase / 1000, std::memory_order_relaxed);
    // One update in flight at a time; it shows the latest count when it arrives.
    if (!variantsUpdatePending_.exchange(true))
        QMetaObject::invokeMethod(
            this, [this] { showVariants(); }, Qt::QueuedConnection);
}

} // namespace quelna
