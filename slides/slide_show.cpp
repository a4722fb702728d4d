#include "slides/slide_show.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

#include "core/settings.h"
#include "gui/qt_text.h"
#include "slides/slide_content.h"
#include "slides/slide_geometry.h"

namespace quelna {

namespace {

int inRangeOr(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

std::unique_ptr<SlideContent> makeContent(const Tournament& t, SlideKind kind,
                                          const SlideClock& clock) {
    if (kind == SlideKind::RoundClock)
        return makeClockSlide(clock);
    if (kind == SlideKind::Seating || kind == SlideKind::RoundResults ||
        kind == SlideKind::PreviousRoundResults)
        return makeTableCards(t, kind);
    return makeStandingsList(t, kind);
}

} // namespace

SlideOptions currentSlideOptions() {
    const Settings& s = settings();
    SlideOptions o;
    o.title = fromRecord(s.tournamentTitle);
    o.onSecondary = s.showOnSecondary;
    o.interval = inRangeOr(s.slideInterval, 5, 20, 7);
    o.tablesX = inRangeOr(s.slideTablesX, 2, 4, 2);
    o.tablesY = inRangeOr(s.slideTablesY, 2, 4, 2);
    o.lines = inRangeOr(s.slideLines, 8, 32, 8);
    o.listHeadings = s.slideListHeadings;
    return o;
}

QScreen* slideScreen(bool onSecondary) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    // The second monitor may have been unplugged since start; the first one still shows.
    if (onSecondary && screens.size() > 1)
        return screens.at(1);
    if (!screens.isEmpty())
        return screens.at(0);
    return QGuiApplication::primaryScreen();
}

QFont slideFont(int characterHeight, bool bold) {
    QFont font(QStringLiteral("Arial"));
    // Qt refuses a pixel size below 1; only a tiny monitor would ask for one.
    font.setPixelSize(characterHeight > 0 ? characterHeight : 1);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    return font;
}

SlideShow::SlideShow(QWidget* owner, const Tournament& t, SlideKind kind, const SlideClock& clock)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), tournament_(t), kind_(kind),
      options_(currentSlideOptions()), clock_(clock) {
    QScreen* screen = slideScreen(options_.onSecondary);
    monitor_ = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    open(screen);
}

SlideShow::SlideShow(QWidget* owner, const Tournament& t, SlideKind kind, const QRect& monitor,
                     const SlideOptions& options, const SlideClock& clock)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), tournament_(t), kind_(kind),
      options_(options), monitor_(monitor), clock_(clock) {
    open(QGuiApplication::screenAt(monitor.topLeft()));
}

SlideShow::~SlideShow() = default;

void SlideShow::open(QScreen* screen) {
    setModal(true);
    if (screen)
        setScreen(screen);
    setGeometry(monitor_);
    page_ = 0;
    secondsShown_ = 0;
    showing_ = true;
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &SlideShow::tick);

    layOut();
    page_ = 0;
    if (pageCount_ > 1)
        timer_.start();
    content_->fill(page_, true);

    addActions(clock_.keys);
    if (clock_.clock && (kind_ == SlideKind::RoundClock || clock_.clock->corner)) {
        if (kind_ != SlideKind::RoundClock)
            addClockCorner();
        clockTimer_.setInterval(200);
        connect(&clockTimer_, &QTimer::timeout, this, &SlideShow::refreshClock);
        clockTimer_.start();
    }
}

void SlideShow::addClockCorner() {
    // At the right end of the title band, where a centred title rarely reaches.
    const BandGeometry b = bandGeometry(monitor_.width(), monitor_.height());
    const QFont font = slideFont(b.band * 70 / 100, true);
    const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral(u"0:00:00")) + b.margin;
    clockCorner_ = makeLabel(QRect(monitor_.width() - b.margin - width, 0, width, b.band), font,
                             Qt::AlignRight | Qt::AlignVCenter, false);
    refreshClock();
}

void SlideShow::refreshClock() {
    content_->refresh();
    if (!clockCorner_)
        return;
    const ClockReading r = readClock(*clock_.clock, clock_.now());
    // Nothing to count before the round is started or planned.
    clockCorner_->setText(r.phase == ClockPhase::Idle ? QString() : clockDigitsText(r));
    QPalette pal = palette();
    if (r.phase == ClockPhase::TimeUp)
        pal.setColor(QPalette::WindowText, timeUpColour());
    clockCorner_->setPalette(pal);
}

void SlideShow::layOut() {
    content_ = makeContent(tournament_, kind_, clock_);
    pageCount_ = content_->layout(*this);
    stale_ = false;
}

void SlideShow::clearLayout() {
    content_.reset();
    for (QLabel* l : headingLabels_)
        delete l;
    for (QLabel* l : contentLabels_)
        delete l;
    for (QFrame* f : frames_)
        delete f;
    for (QWidget* w : ownWidgets_)
        delete w;
    ownWidgets_.clear();
    delete titleLabel_;
    delete roundLabel_;
    titleLabel_ = roundLabel_ = nullptr;
    headingLabels_.clear();
    contentLabels_.clear();
    frames_.clear();
}

void SlideShow::recordChanged() {
    stale_ = true;
    if (pageCount_ > 1 || paused_)
        return;
    clearLayout();
    layOut();
    page_ = 0;
    // A show of one page may now need several.
    if (pageCount_ > 1 && !timer_.isActive())
        timer_.start();
    content_->fill(page_, true);
}

void SlideShow::setPaused(bool paused) {
    paused_ = paused;
}

void SlideShow::tick() {
    if (paused_)
        return;
    if (pageCount_ <= 1)
        return;
    if (showing_) {
        if (secondsShown_ == options_.interval) {
            secondsShown_ = 0;
            showing_ = false;
            content_->fill(page_, false);
        } else {
            ++secondsShown_;
        }
        return;
    }
    secondsShown_ = 0;
    showing_ = true;
    if (stale_) {
        const int next = page_ + 1;
        clearLayout();
        layOut();
        page_ = next % pageCount_;
    } else {
        page_ = (page_ + 1) % pageCount_;
    }
    content_->fill(page_, true);
}

void SlideShow::setContentFonts(int captionHeight, bool captionBold, int cellHeight) {
    captionFont_ = slideFont(captionHeight, captionBold);
    cellFont_ = slideFont(cellHeight, true);
}

void SlideShow::addBands(int margin, int band, bool withRound, int roundNumber) {
    const int width = monitor_.width() - 2 * margin;
    titleFont_ = slideFont(band * 70 / 100, false);
    titleLabel_ = makeLabel(QRect(margin, 0, width, band), titleFont_, Qt::AlignCenter, false);
    titleLabel_->setText(options_.title);
    if (!withRound)
        return;
    roundFont_ = slideFont(band * 80 / 100, false);
    roundLabel_ = makeLabel(QRect(margin, band, width, band), roundFont_, Qt::AlignCenter, false);
    roundLabel_->setText(QStringLiteral(u"ТУР № %1:").arg(roundNumber));
}

void SlideShow::addBands(int margin, int band, const QString& heading) {
    addBands(margin, band, true, 0);
    roundLabel_->setText(heading);
}

void SlideShow::adoptWidget(QWidget* w) {
    w->setParent(this);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Laid out anew while the show runs: a widget made now is not shown by itself.
    if (isVisible())
        w->show();
    ownWidgets_.push_back(w);
}

QLabel* SlideShow::addContentLabel(const QRect& r, const QFont& font) {
    QLabel* label = makeLabel(r, font, Qt::AlignCenter, false);
    contentLabels_.push_back(label);
    return label;
}

QLabel* SlideShow::addHeadingLabel(const QRect& r, Qt::Alignment align, bool wrap) {
    QLabel* label = makeLabel(r, captionFont_, align, wrap);
    headingLabels_.push_back(label);
    return label;
}

QLabel* SlideShow::makeLabel(const QRect& r, const QFont& font, Qt::Alignment align, bool wrap) {
    auto* label = new QLabel(this);
    // Names come from the organiser's typing; never let them be read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(r);
    label->setFont(font);
    label->setAlignment(align);
    label->setWordWrap(wrap);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (isVisible()) // laid out anew while the show runs
        label->show();
    return label;
}

QFrame* SlideShow::addFrame(const QRect& r) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    frame->setMidLineWidth(0);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(pal);
    frame->setGeometry(r);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (isVisible())
        frame->show();
    frames_.push_back(frame);
    return frame;
}

void SlideShow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    // Enter and every other key do nothing (no default button to press).
    e->accept();
}

void SlideShow::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        close();
        return;
    }
    e->accept();
}

void SlideShow::done(int result) {
    timer_.stop();
    clockTimer_.stop();
    QDialog::done(result);
}

void showSlideShow(QWidget* owner, const Tournament& t, SlideKind kind, const SlideClock& clock) {
    SlideShow show(owner, t, kind, clock);
    show.exec();
}

SlideShow* showSlideShowBeside(QWidget* owner, const Tournament& t, SlideKind kind,
                               const SlideClock& clock) {
    auto show = std::make_unique<SlideShow>(owner, t, kind, clock);
    // By the monitor chosen: before it is shown, the show's own screen still reads as its owner's.
    if (owner && owner->screen() && show->monitor() != owner->screen()->geometry()) {
        show->setModal(false);
        show->setAttribute(Qt::WA_DeleteOnClose);
        show->show();
        return show.release();
    }
    show->exec();
    return nullptr;
}

} // namespace quelna
