// The clock slide: the round, the time left in digits as large as the screen allows, a bar of the
// time gone, the time-up text, and the tables that play on with extra time.
#include "slides/clock_slide.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

#include "gui/qt_text.h"
#include "slides/slide_content.h"
#include "slides/slide_geometry.h"

namespace quelna {

QFont fittingFont(const QFont& base, const QString& text, const QRect& rect) {
    QFont font = base;
    int size = std::max(1, rect.height());
    for (;;) {
        font.setPixelSize(size);
        const QFontMetrics m(font);
        if (size <= 8 || (m.horizontalAdvance(text) < rect.width() && m.height() < rect.height()))
            return font;
        size = size * 95 / 100;
    }
}

QString clockDigitsText(const ClockReading& r) {
    return QString::fromStdString(clockDigits(r.left));
}

QColor timeUpColour() {
    return QColor(176, 0, 32);
}

namespace {

void setColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

class ClockSlide : public SlideContent {
  public:
    explicit ClockSlide(const SlideClock& clock) : clock_(clock) {}

    int layout(SlideShow& show) override {
        const int w = show.monitor().width();
        const int h = show.monitor().height();
        const BandGeometry b = bandGeometry(w, h);
        const int innerW = w - 2 * b.margin;
        show.setContentFonts(b.band * 80 / 100, true, b.band * 60 / 100);
        show.addBands(b.margin, b.band, true, clock_.clock->round);

        int y = 2 * b.band + b.gap / 2;
        digitsRect_ = QRect(b.margin, y, innerW, h * 48 / 100);
        y += digitsRect_.height() + b.gap / 2;
        bar_ = new QProgressBar;
        bar_->setObjectName(QStringLiteral("clockBar"));
        bar_->setRange(0, 1000);
        bar_->setTextVisible(false);
        bar_->setGeometry(b.margin, y, innerW, b.gap);
        // Laid out anew with every change of the record: the old bar must go with the old layout
        // and the new one be shown, or a frozen bar stays in front of a hidden live one.
        show.adoptWidget(bar_);
        y += b.gap + b.gap / 2;
        // The headline and the time-up text never show together: they share a line.
        const QRect line(b.margin, y, innerW, b.band);
        headline_ = show.addContentLabel(line, show.captionFont());
        digits_ = show.addContentLabel(digitsRect_, slideFont(digitsRect_.height(), true));
        timeUp_ = show.addContentLabel(line, show.captionFont());
        setColour(timeUp_, timeUpColour());
        timeUp_->setFont(
            fittingFont(show.captionFont(), QString::fromUtf16(kTimeUpText), timeUp_->geometry()));
        y += b.band;
        note_ = show.addContentLabel(QRect(b.margin, y, innerW, b.band), show.captionFont());
        setColour(note_, timeUpColour());
        y += b.band;

        // The tables with extra time: three across, two down, under everything else.
        const int rows = 2;
        const int columns = kClockTableCells / rows;
        const int cellH = std::max(1, (h - y - b.gap / 2) / rows);
        const int cellW = innerW / columns;
        const QFont tableFont = slideFont(std::min(cellH * 70 / 100, b.band * 60 / 100), true);
        for (int i = 0; i < kClockTableCells; ++i)
            tables_.push_back(show.addContentLabel(
                QRect(b.margin + (i % columns) * cellW, y + (i / columns) * cellH, cellW, cellH),
                tableFont));
        return 1;
    }

    void fill(int, bool show) override {
        if (show)
            refresh();
    }

    void refresh() override {
        const ClockReading r = readClock(*clock_.clock, clock_.now());
        const bool up = r.phase == ClockPhase::TimeUp;
        const QString headline = r.phase == ClockPhase::BeforeStart
                                     ? QStringLiteral(u"До начала тура")
                                 : r.paused ? QStringLiteral(u"Пауза")
                                            : QString();
        headline_->setText(headline);
        const QString digits = clockDigitsText(r);
        if (digits.size() != digits_->text().size())
            digits_->setFont(fittingFont(digits_->font(), digits, digitsRect_));
        digits_->setText(digits);
        setColour(digits_, up ? timeUpColour()
                              : digits_->parentWidget()->palette().color(QPalette::WindowText));
        bar_->setValue(r.phase == ClockPhase::BeforeStart ? 0 : r.gonePermille);
        timeUp_->setText(up ? QString::fromUtf16(kTimeUpText) : QString());
        note_->setText(up ? fromRecord(clock_.clock->timeUpNote) : QString());
        for (int i = 0; i < kClockTableCells; ++i) {
            const int n = static_cast<int>(r.tables.size());
            QString text;
            if (i < n && (i < kClockTableCells - 1 || n == kClockTableCells)) {
                const TableReading& tr = r.tables[i];
                text = QStringLiteral(u"СТОЛ № %1: %2")
                           .arg(tr.table)
                           .arg(tr.left <= 0 ? QStringLiteral(u"время вышло")
                                             : QString::fromStdString(clockDigits(tr.left)));
            } else if (i == kClockTableCells - 1 && n > kClockTableCells) {
                text = QStringLiteral(u"и ещё столов: %1").arg(n - (kClockTableCells - 1));
            }
            tables_[i]->setText(text);
        }
    }

  private:
    SlideClock clock_;
    QLabel* headline_ = nullptr;
    QLabel* digits_ = nullptr;
    QRect digitsRect_;
    QProgressBar* bar_ = nullptr;
    QLabel* timeUp_ = nullptr;
    QLabel* note_ = nullptr;
    std::vector<QLabel*> tables_;
};

} // namespace

std::unique_ptr<SlideContent> makeClockSlide(const SlideClock& clock) {
    return std::make_unique<ClockSlide>(clock);
}

} // namespace quelna
