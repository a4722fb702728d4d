#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "audit/ui/check_dialog.h"
#include "core/settings.h"
#include "core/text.h"
#include "gui/app_paths.h"
#include "slides/slide_show.h"
#include "ui/about_box.h"
#include "ui/adjustment_commands.h"
#include "ui/app_icon.h"
#include "ui/grid_scroll.h"
#include "ui/manual_placement.h"
#include "ui/name_validator.h"
#if QUELNA_PLAYER_PAGE
#include "ui/player_page_service.h"
#endif
#include "ui/print_menu.h"
#include "ui/rating_export_command.h"
#include "ui/round_clock_service.h"

namespace quelna {

namespace {

QPushButton* makeButton(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    // Enter in a points cell must never press a button behind the organiser's back.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

// Typed points reach the autosave this long after the first cell left, however many follow.
constexpr int kTypedSaveDelayMs = 1500;

QRect defaultWorkArea() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return QRect(0, 0, 1024, 768);
}

} // namespace

MainWindow::MainWindow(Tournament& t, bool testMode, QWidget* parent)
    : MainWindow(t, testMode, MainWindowEnvironment{}, parent) {}

MainWindow::MainWindow(Tournament& t, bool testMode, const MainWindowEnvironment& env,
                       QWidget* parent)
    : QDialog(parent), doc_(new TournamentDocument(t, this)), t_(t), testMode_(testMode),
      n_(t.playerCount), rounds_(t.roundCount), tableError_(t.playerCount / 4, false) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral(u"Риичи - рассадка игроков по швейцарской системе"));
    setWindowIcon(appIcon());
    appDir_ = env.appDir.isEmpty() ? appDataDirectory() : env.appDir;
    workArea_ = env.workArea ? *env.workArea : defaultWorkArea();

#if QUELNA_PLAYER_PAGE
    playerPage_ = std::make_unique<PlayerPageService>(t_, this, settings().settingsPath);
#endif
    clock_ = new RoundClockService(t_, this, settings().settingsPath);
    clock_->onOpenSlide([this] { openSlides(static_cast<int>(SlideKind::RoundClock)); });
#if QUELNA_PLAYER_PAGE
    playerPage_->setClock(&clock_->clock());
    clock_->onChange([this] { playerPage_->publish(); });
#endif
    buildMenu();
    buildCorrectionBanner();
    buildGrid();
    typedSave_ = new QTimer(this);
    typedSave_->setSingleShot(true);
    typedSave_->setInterval(kTypedSaveDelayMs);
    connect(typedSave_, &QTimer::timeout, this, [this] { autosave(t_.currentRound); });
    connect(doc_, &TournamentDocument::reset, this, [this] { showRecord(); });
    connect(doc_, &TournamentDocument::pointsChanged, this,
            [this](int round, int table) { onPointsChanged(round, table); });
    connect(doc_, &TournamentDocument::playersChanged, this, [this] { onPlayersChanged(); });
    connect(doc_, &TournamentDocument::nameChanged, this,
            [this](int player) { onNameChanged(player); });
    adjustmentCommands_ = new AdjustmentCommands(*this, t_, serviceMenu_);
#if QUELNA_PLAYER_PAGE
    playerPage_->publish();
    playerPage_->startFromSettings();
#endif
}

void MainWindow::cellFocusIn(GridCell& cell, Qt::FocusReason) {
    if (!refreshing_)
        placement_->seatFocused(cell);
}

MainWindow::~MainWindow() {
    // Hiding moves the focus away from a cell; nothing of this window may react by then.
    for (GridCell* c : seatCells_)
        c->setListener(nullptr);
    for (GridCell* c : pointsCells_)
        c->setListener(nullptr);
    qApp->removeEventFilter(this);
    hide();
}

void MainWindow::buildMenu() {
    menuBar_ = new QMenuBar(this);
    auto add = [this](QMenu* menu, int id, const QString& text) {
        QAction* a = menu->addAction(text);
        actions_.insert(id, a);
        return a;
    };
    QMenu* file = menuBar_->addMenu(QStringLiteral(u"&Файл"));
    connect(add(file, ids::kLoadCommand, QStringLiteral(u"&Прочитать из CSV-файла...")),
            &QAction::triggered, this, [this] { loadFile(); });
    connect(add(file, ids::kSaveCommand, QStringLiteral(u"&Записать в CSV-файл...")),
            &QAction::triggered, this, [this] { saveFile(); });
    connect(file->addAction(QStringLiteral(u"&Экспорт результатов для рейтинга...")),
            &QAction::triggered, this, [this] {
                commitFocusedCell();
                exportRatingCommand(this, t_);
            });
    file->addSeparator();
    connect(add(file, ids::kExitCommand, QStringLiteral(u"В&ыход")), &QAction::triggered, this,
            [this] { close(); });
    QMenu* service = menuBar_->addMenu(QStringLiteral(u"С&ервис"));
    connect(add(service, ids::kSettingsCommand, QStringLiteral(u"&Параметры...")),
            &QAction::triggered, this, [this] { openSettings(); });
    QAction* correct =
        add(service, ids::kCorrectRoundCommand, QStringLiteral(u"&Исправить результаты тура..."));
    correct->setEnabled(false);
    connect(correct, &QAction::triggered, this, [this] { chooseRoundToCorrect(-1); });
    QAction* rename =
        add(service, ids::kRenamePlayerCommand, QStringLiteral(u"Исправить и&мя игрока..."));
    rename->setEnabled(false);
    connect(rename, &QAction::triggered, this, [this] { renamePlayerCommand(); });
#if QUELNA_PLAYER_PAGE
    playerPage_->addServiceItem(service);
#endif
    connect(service->addAction(QStringLiteral(u"Про&верка турнира...")), &QAction::triggered, this,
            [this] { showCheckDialog(this, t_); });
    serviceMenu_ = service;
    service->addSeparator();
    connect(service->addAction(QStringLiteral(u"&О программе...")), &QAction::triggered, this,
            [this] { showAboutBox(this, appDir_); });
    buildRoundMenu();
    QMenu* slides = menuBar_->addMenu(QStringLiteral(u"&Показ слайдов"));
    const std::pair<int, const char16_t*> items[] = {
        {ids::kSlideSeating, u"Рассадка"},
        {ids::kSlideRoundResults, u"Результаты текущего тура по столам"},
        {ids::kSlideResultsAndSeating, u"Результаты тура и рассадка"},
        {ids::kSlideStandings, u"Суммарные результаты"},
        {ids::kSlideTeamStandings, u"Результаты по командам"},
    };
    int kind = 0;
    for (const auto& [id, text] : items) {
        QAction* a = add(slides, id, QString::fromUtf16(text));
        a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this, kind] { openSlides(kind); });
        ++kind;
    }
    // Ours, after the five kinds whose places in the menu are fixed.
    QAction* previous = add(slides, ids::kSlidePreviousRoundResults,
                            QStringLiteral(u"Результаты прошлого тура по столам"));
    previous->setEnabled(false);
    connect(previous, &QAction::triggered, this,
            [this] { openSlides(static_cast<int>(SlideKind::PreviousRoundResults)); });
    QAction* headings = add(slides, ids::kSlideListHeadings,
                            QStringLiteral(u"Таблицы слайдов с заголовком, без пустых строк"));
    headings->setCheckable(true);
    headings->setChecked(settings().slideListHeadings);
    connect(headings, &QAction::toggled, this, [](bool on) {
        settings().slideListHeadings = on;
        (void)saveSettings(settings()); // a crash later keeps the choice
    });
    clock_->addSlideItems(slides);
#if QUELNA_PLAYER_PAGE
    playerPage_->addSlideItem(slides);
#endif
    slides->addSeparator();
    QAction* closeSlidesItem =
        add(slides, ids::kCloseSlidesCommand, QStringLiteral(u"&Закрыть показ слайдов"));
    closeSlidesItem->setEnabled(false);
    connect(closeSlidesItem, &QAction::triggered, this, [this] { closeSlides(); });
    printMenu_ = new PrintMenu(menuBar_, this, t_, [this] { commitFocusedCell(); });
    for (auto it = printMenu_->actions().begin(); it != printMenu_->actions().end(); ++it)
        actions_.insert(it.key(), it.value());
}

void MainWindow::buildGrid() {
    // Qt's equivalents of the platform metrics around the client area: the style's scroll-bar
    // extent, its window-frame width (the MDI frame is the closest it reports) and title-bar
    // height, and the menu bar's own height.
    QStyle* st = style();
    const int scrollBarWidth = st->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int frameWidth = st->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int captionHeight = st->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int menuHeight = menuBar_->sizeHint().height();
    const NonClient frame{scrollBarWidth + 2 * frameWidth,
                          menuHeight + 2 * frameWidth + captionHeight};
    const WorkArea area{workArea_.left(), workArea_.top(), workArea_.left() + workArea_.width(),
                        workArea_.top() + workArea_.height()};
    geometry_ = computeGridGeometry(n_, rounds_, area, frame);
    const ColumnWidths& w = geometry_.widths;
    const int clientW = geometry_.clientWidth;
    const int clientH = geometry_.clientHeight;

    menuBar_->setGeometry(0, 0, clientW + scrollBarWidth, menuHeight);
    clip_ = new QWidget(this);
    clip_->setGeometry(0, menuHeight, clientW, clientH);
    content_ = new QWidget(clip_);
    int contentWidth = clientW;
    for (int k = 1; k <= rounds_; ++k) {
        const RoundColumn last = roundColumns(w, rounds_, k).back();
        contentWidth = std::max(contentWidth, last.x + last.seatWidth + last.pointsWidth + 20);
    }
    content_->setGeometry(0, 0, contentWidth, geometry_.contentHeight);
    content_->installEventFilter(this); // the context menu of the disabled past rounds' cells
    content_->setUpdatesEnabled(false);

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setGeometry(clientW, menuHeight, scrollBarWidth, clientH);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setRange(0, geometry_.scrollMax);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(std::max(1, clientH / kRowHeight));
    scrollBar_->installEventFilter(this);
    if (geometry_.scrolls)
        qApp->installEventFilter(this);
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { scroll_->onAction(action); });
    scroll_ = std::make_unique<GridScroll>(content_, scrollBar_, geometry_.scrollMax,
                                           geometry_.clientHeight);
    scrollBar_->setEnabled(geometry_.scrolls);

    const int lw = w.listWidth;
    auto* nameValidator = new NameValidator(this);
    auto* numberValidator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(u"[0-9]*")), this);
    nameEdits_.resize(n_);
    teamEdits_.resize(n_);
    numberEdits_.resize(n_);
    for (int i = 0; i < n_; ++i) {
        auto* name = new QLineEdit(content_);
        name->setMaxLength(kMaxNameLength);
        name->setValidator(nameValidator);
        auto* team = new QLineEdit(content_);
        team->setMaxLength(kMaxNameLength);
        team->setValidator(nameValidator);
        auto* number = new QLineEdit(content_);
        number->setMaxLength(9);
        number->setValidator(numberValidator);
        nameEdits_[i] = name;
        teamEdits_[i] = team;
        numberEdits_[i] = number;
        controls_.insert(ids::kNameEdit + i, name);
        controls_.insert(ids::kTeamEdit + i, team);
        controls_.insert(ids::kNumberEdit + i, number);
        connect(name, &QLineEdit::textChanged, this, [this, i] {
            if (refreshing_)
                return;
            registrationEdited(i);
            nameRule();
        });
        connect(team, &QLineEdit::textChanged, this, [this, i] {
            if (!refreshing_)
                registrationEdited(i);
        });
        connect(number, &QLineEdit::textChanged, this, [this, i] {
            if (refreshing_)
                return;
            registrationEdited(i);
            numberRule();
        });
    }

    const int tables = n_ / 4;
    tableLabels_.resize(tables);
    for (int tb = 0; tb < tables; ++tb) {
        auto* label = new QLabel(QStringLiteral(u"СТОЛ № %1 ").arg(tb + 1), content_);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(lw + 70, 100 * tb, w.seatWidth, kRowHeight);
        label->hide();
        tableLabels_[tb] = label;
        controls_.insert(ids::kTableLabel + tb, label);
    }

    nameHeader_ = new QLabel(QStringLiteral(u"Имя"), content_);
    nameHeader_->setObjectName(QStringLiteral("nameHeader"));
    teamHeader_ = new QLabel(QStringLiteral(u"Команда"), content_);
    teamHeader_->setObjectName(QStringLiteral("teamHeader"));

    const std::vector<RoundColumn> columns = roundColumns(w, rounds_, 0);
    columns_ = columns;
    seatCells_.resize(static_cast<size_t>(n_) * rounds_);
    pointsCells_.resize(static_cast<size_t>(n_) * rounds_);
    headers_.resize(rounds_);
    roundButtons_.resize(rounds_);
    for (int r = 0; r < rounds_; ++r) {
        const RoundColumn& c = columns[r];
        if (!testMode_) {
            auto* label = new QLabel(QStringLiteral(u"ИО%1").arg(r + 1), content_);
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(c.x + c.seatWidth, 0, c.pointsWidth, kRowHeight);
            headers_[r] = label;
            controls_.insert(ids::kRoundHeader + r, label);
        }
        for (int p = 0; p < n_; ++p) {
            const int y = 20 + 100 * (p / 4) + 20 * (p % 4);
            auto* seat = new GridCell(GridCell::Kind::Seat, r, p, this, content_);
            seat->setGeometry(c.x, y, c.seatWidth, kRowHeight);
            auto* pts = new GridCell(GridCell::Kind::Points, r, p, this, content_);
            pts->setGeometry(c.x + c.seatWidth, y, c.pointsWidth, kRowHeight);
            seatCells_[r * n_ + p] = seat;
            pointsCells_[r * n_ + p] = pts;
            connect(pts, &QLineEdit::textChanged, this, [this, r] {
                if (!refreshing_ && r <= rounds_ - 2)
                    pointsRule();
            });
        }
        if (testMode_) {
            auto* b = makeButton(QStringLiteral(u"&Р"), content_);
            b->setGeometry(c.x + c.seatWidth, 0, c.pointsWidth, kRowHeight);
            b->setEnabled(false);
            b->setToolTip(QStringLiteral(u"Сгенерировать случайные результаты тура"));
            connect(b, &QPushButton::clicked, this, [this, r] { randomResults(r); });
            headers_[r] = b;
            b->setObjectName(QStringLiteral(u"resultsButton%1").arg(r + 1));
            controls_.insert(ids::kResultsButton + r, b);
        }
        auto* rb = makeButton(QStringLiteral(u"< &%1 >").arg(r + 1), content_);
        rb->setGeometry(c.x, (n_ + n_ / 4) * kRowHeight, std::min(c.seatWidth + c.pointsWidth, 40),
                        kRowHeight);
        rb->setEnabled(false);
        rb->setToolTip(QStringLiteral(u"Показать информацию о туре № %1").arg(r + 1));
        connect(rb, &QPushButton::clicked, this, [this, r] { roundButton(r); });
        roundButtons_[r] = rb;
        rb->setObjectName(QStringLiteral(u"roundButton%1").arg(r + 1));
        controls_.insert(ids::kRoundButton + r, rb);
    }

    if (testMode_) {
        namesButton_ = makeButton(QStringLiteral(u"&Р"), content_);
        namesButton_->setToolTip(
            QStringLiteral(u"Сгенерировать случайные имена игроков для тестирования"));
        connect(namesButton_, &QPushButton::clicked, this, [this] { randomNames(); });
        namesButton_->setObjectName(QStringLiteral(u"namesButton"));
        controls_.insert(ids::kNamesButton, namesButton_);
        teamsButton_ = makeButton(QStringLiteral(u"&Р"), content_);
        teamsButton_->setToolTip(
            QStringLiteral(u"Сгенерировать группы/команды игроков для тестирования"));
        connect(teamsButton_, &QPushButton::clicked, this, [this] { randomTeams(); });
        teamsButton_->setObjectName(QStringLiteral(u"teamsButton"));
        controls_.insert(ids::kTeamsButton, teamsButton_);
    }
    seatButton_ = makeButton(QStringLiteral(u"Рассадить &игроков >"), content_);
    seatButton_->setEnabled(false);
    connect(seatButton_, &QPushButton::clicked, this, [this] { seatCommand(); });
    seatButton_->setObjectName(QStringLiteral(u"seatButton"));
    controls_.insert(ids::kSeatButton, seatButton_);
    buildSeatPointer();

    manualButton_ = makeButton(QString(), content_);
    manualButton_->setCheckable(true);
    manualButton_->setIcon(appIcon());
    manualButton_->setIconSize(QSize(32, 32));
    manualButton_->setEnabled(false);
    placement_ = std::make_unique<ManualPlacement>(
        *doc_, [this](int r, int q) { return seatCells_[r * n_ + q]; },
        [this] { manualButton_->setFocus(Qt::OtherFocusReason); });
    connect(manualButton_, &QPushButton::toggled, this, [this](bool on) {
        seatButton_->setEnabled(numbersComplete() && t_.currentRound < rounds_ && !on);
        placement_->setOn(on);
    });
    manualButton_->setObjectName(QStringLiteral(u"manualButton"));
    controls_.insert(ids::kManualButton, manualButton_);

    numberButton_ = makeButton(QStringLiteral(u"&Р"), content_);
    numberButton_->setEnabled(false);
    numberButton_->setToolTip(QStringLiteral(u"Расставить номера игроков по порядку"));
    connect(numberButton_, &QPushButton::clicked, this, [this] { numberPlayersInOrder(); });
    numberButton_->setObjectName(QStringLiteral(u"numberButton"));
    controls_.insert(ids::kNumberButton, numberButton_);

    placePlayerList(lw);
    content_->setUpdatesEnabled(true);

    const int outerW = clientW + scrollBarWidth;
    const int outerH = menuHeight + clientH;
    setFixedSize(outerW, outerH);
    move(geometry_.windowX, geometry_.windowY);
}

void MainWindow::placePlayerList(int lw) {
    const int teamX = lw - lw / 4 + 20;
    for (int i = 0; i < n_; ++i) {
        const int y = 20 + 20 * i;
        nameEdits_[i]->setGeometry(20, y, lw - lw / 4, kRowHeight);
        teamEdits_[i]->setGeometry(teamX, y, lw / 4, kRowHeight);
        numberEdits_[i]->setGeometry(lw + 20, y, 30, kRowHeight);
    }
    numberButton_->setGeometry(lw + 20, 0, 30, kRowHeight);
    if (namesButton_)
        namesButton_->setGeometry(20, 0, 30, kRowHeight);
    if (teamsButton_)
        teamsButton_->setGeometry(teamX, 0, 30, kRowHeight);
    seatButton_->setGeometry(20, 20 * n_ + 40, lw - 10, 40);
    manualButton_->setGeometry(lw + 10, 20 * n_ + 40, 40, 40);
    placeListHeaders(lw);
}

void MainWindow::showRound(int k) {
    if (k == shownRound_ || k < 0 || k > rounds_)
        return;
    content_->setUpdatesEnabled(false);
    if (k == 0) {
        for (QLabel* l : tableLabels_)
            l->hide();
    }
    const ColumnWidths& w = geometry_.widths;
    if ((k == 0 || shownRound_ == 0) && w.listWidthDiffers)
        placePlayerList(listWidthFor(w, k));
    const std::vector<RoundColumn> columns = roundColumns(w, rounds_, k);
    for (int r = 0; r < rounds_; ++r) {
        const RoundColumn& c = columns[r];
        headers_[r]->setGeometry(c.x + c.seatWidth, 0, c.pointsWidth, kRowHeight);
        QPushButton* rb = roundButtons_[r];
        rb->setGeometry(c.x, (n_ + n_ / 4) * kRowHeight, std::min(c.seatWidth + c.pointsWidth, 40),
                        kRowHeight);
        rb->setEnabled(r != k - 1 && r < t_.currentRound);
        for (int p = 0; p < n_; ++p) {
            const int y = 20 + 100 * (p / 4) + 20 * (p % 4);
            seatCells_[r * n_ + p]->setGeometry(c.x, y, c.seatWidth, kRowHeight);
            pointsCells_[r * n_ + p]->setGeometry(c.x + c.seatWidth, y, c.pointsWidth, kRowHeight);
        }
        if (r == k - 1) {
            for (int tb = 0; tb < n_ / 4; ++tb)
                tableLabels_[tb]->setGeometry(c.x, 100 * tb, c.seatWidth, kRowHeight);
        }
    }
    if (k != 0 && shownRound_ == 0) {
        for (QLabel* l : tableLabels_)
            l->show();
    }
    shownRound_ = k;
    // Points columns folded or unfolded: the red marks move between points and seat cells.
    columns_ = columns;
    for (int j = 0; j < t_.currentRound; ++j)
        for (int tb = 0; tb < n_ / 4; ++tb)
            applyTableTone(j, tb);
    updateRoundItems();
    content_->setUpdatesEnabled(true);
    update();
}

QWidget* MainWindow::control(int id) const {
    return controls_.value(id, nullptr);
}

QAction* MainWindow::menuAction(int command) const {
    return actions_.value(command, nullptr);
}

GridCell* MainWindow::cell(GridCell::Kind kind, int round, int position) const {
    if (round < 0 || round >= rounds_ || position < 0 || position >= n_)
        return nullptr;
    const auto& cells = kind == GridCell::Kind::Seat ? seatCells_ : pointsCells_;
    return cells[round * n_ + position];
}

QLineEdit* MainWindow::seatCell(int round, int position) const {
    return cell(GridCell::Kind::Seat, round, position);
}

QLineEdit* MainWindow::pointsCell(int round, int position) const {
    return cell(GridCell::Kind::Points, round, position);
}

void MainWindow::wheelEvent(QWheelEvent* e) {
    scroll_->wheelNotch(e->angleDelta().y());
    e->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == content_ && e->type() == QEvent::ContextMenu &&
        pointsCellMenu(static_cast<QContextMenuEvent*>(e)))
        return true;
    if (watched == seatButton_ && e->type() == QEvent::EnabledChange)
        syncSeatCommands();
    if (watched == correctionBanner_ &&
        (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent))
        relayoutMenuCorner();
    if (watched == scrollBar_ && e->type() == QEvent::Wheel) {
        scroll_->wheelNotch(static_cast<QWheelEvent*>(e)->angleDelta().y());
        return true;
    }
    // Typing must never go into an edit scrolled out of sight: moving on with Tab (200 names one
    // after another) or the window putting the focus into the grid brings the edit into view.
    if (e->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit && edit->parentWidget() == content_ &&
            (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
             reason == Qt::OtherFocusReason))
            scroll_->ensureVisible(edit);
    }
    return QDialog::eventFilter(watched, e);
}

// Keys and closing ---------------------------------------------------------------------------

void MainWindow::keyPressEvent(QKeyEvent* e) {
    // Esc and Enter are no commands here: a stray key while typing points must neither close
    // the tournament nor press a button. The window closes by its close box or "Выход".
    switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The points in the cell that still has the focus go into the autosave too.
    commitFocusedCell();
    typedSave_->stop();
    closeSlides();
    autosave(t_.currentRound);
#if QUELNA_PLAYER_PAGE
    playerPage_->stop();
#endif
    e->accept();
    done(QDialog::Accepted);
}

} // namespace quelna
