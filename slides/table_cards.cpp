// Seating and round results: a grid of table cards, one caption and four seat rows each.
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <array>

#include "gui/qt_text.h"
#include "slides/slide_content.h"
#include "slides/slide_geometry.h"

namespace quelna {

namespace {

struct Card {
    QLabel* caption = nullptr;
    std::array<QLabel*, 4> name{};
    std::array<QLabel*, 4> value{};
};

class TableCards : public SlideContent {
  public:
    TableCards(const Tournament& t, SlideKind kind)
        : t_(t), results_(kind != SlideKind::Seating),
          round_(t.currentRound - (kind == SlideKind::PreviousRoundResults ? 2 : 1)) {}

    int layout(SlideShow& show) override {
        const SlideOptions& o = show.options();
        const CardGeometry g = cardGeometry(show.monitor().width(), show.monitor().height(),
                                            o.tablesX, o.tablesY, results_);
        show.setContentFonts(g.captionFontHeight, false, g.cellFontHeight);
        cellFont_ = show.cellFont();
        show.addBands(g.bands.margin, g.bands.band, true, round_ + 1);

        cards_.clear();
        for (int j = 0; j < o.tablesY; ++j) {
            for (int c = 0; c < o.tablesX; ++c) {
                const int x = g.cardX(c);
                const int y = g.cardY(j);
                Card card;
                card.caption = show.addContentLabel(QRect(x + 1, y + 1, g.cardW - 2, g.capH - 2),
                                                    show.captionFont());
                for (int s = 0; s < 4; ++s) {
                    const int rowY = y + g.capH + s * g.rowH + 1;
                    card.name[s] = show.addContentLabel(QRect(x + 1, rowY, g.nameW - 2, g.rowH - 2),
                                                        show.cellFont());
                    card.value[s] = show.addContentLabel(
                        QRect(x + g.nameW + 1, rowY, g.cardW - g.nameW - 2, g.rowH - 2),
                        show.cellFont());
                }
                show.addFrame(QRect(x, y, g.cardW, g.cardH));
                show.addFrame(QRect(x, y + g.capH, g.cardW, 1));
                for (int s = 1; s < 4; ++s)
                    show.addFrame(QRect(x, y + g.capH + s * g.rowH, g.cardW, 1));
                show.addFrame(QRect(x + g.nameW, y + g.capH, 1, 4 * g.rowH));
                cards_.push_back(card);
            }
        }
        return pagesFor(t_.tableCount(), static_cast<int>(cards_.size()));
    }

    void fill(int page, bool show) override {
        const int perPage = static_cast<int>(cards_.size());
        const int round = round_;
        for (int k = 0; k < perPage; ++k) {
            const Card& card = cards_[k];
            const int table = page * perPage + k;
            const bool used = show && table < t_.tableCount();
            card.caption->setText(used ? QStringLiteral(u"СТОЛ № %1 ").arg(table + 1) : QString());
            for (int s = 0; s < 4; ++s) {
                // playerAt gives -1 for a round that is not seated; the row then stays empty.
                const int p = used ? t_.playerAt(round, table, s) : -1;
                if (p < 0) {
                    card.name[s]->clear();
                    card.value[s]->clear();
                    continue;
                }
                setSeatName(card.name[s], QString::fromStdString(seatNameUtf8(t_, round, p)),
                            t_.adjustments.substitute(round, p) != nullptr);
                const int value = results_ ? t_.pointsAt(round, p) : t_.playerNumber[p] + 1;
                card.value[s]->setText(QString::number(value));
            }
        }
    }

  private:
    // A seat a substitute played names both players, which is more than the cell was made for:
    // its font shrinks until the whole text fits on one line, and from two thirds of the cell font
    // on it takes two lines, the player over the substitute. Other names keep the cell font.
    void setSeatName(QLabel* label, const QString& text, bool substitute) const {
        label->setFont(cellFont_);
        if (!substitute || QFontMetrics(cellFont_).horizontalAdvance(text) <= label->width()) {
            label->setText(text);
            return;
        }
        QFont font = cellFont_;
        const int floor = std::max(6, cellFont_.pixelSize() * 2 / 3);
        while (font.pixelSize() > floor &&
               QFontMetrics(font).horizontalAdvance(text) > label->width())
            font.setPixelSize(std::max(1, font.pixelSize() * 95 / 100));
        QString shown = text;
        if (QFontMetrics(font).horizontalAdvance(text) > label->width()) {
            const qsizetype arrow = text.indexOf(QChar(0x2192));
            if (arrow > 0)
                shown = text.left(arrow).trimmed() + QLatin1Char('\n') + text.mid(arrow);
            font = twoLineFont(shown, label->size());
        }
        label->setFont(font);
        label->setText(shown);
    }

    // The largest font, no larger than the cell's, in which both lines fit the label.
    QFont twoLineFont(const QString& text, const QSize& room) const {
        QFont font = cellFont_;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (;;) {
            const QFontMetrics m(font);
            int widest = 0;
            for (const QString& l : lines)
                widest = std::max(widest, m.horizontalAdvance(l));
            if (font.pixelSize() <= 6 ||
                (widest <= room.width() && m.lineSpacing() * lines.size() <= room.height()))
                return font;
            font.setPixelSize(font.pixelSize() * 95 / 100);
        }
    }

    const Tournament& t_;
    bool results_;
    int round_; // the round shown
    std::vector<Card> cards_;
    QFont cellFont_;
};

} // namespace

std::unique_ptr<SlideContent> makeTableCards(const Tournament& t, SlideKind kind) {
    return std::make_unique<TableCards>(t, kind);
}

} // namespace quelna
