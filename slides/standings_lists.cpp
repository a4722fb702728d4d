// Ranked lists: standings with the next table, overall standings, team standings.
#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <string>
#include <vector>

#include "core/standings.h"
#include "gui/qt_text.h"
#include "slides/slide_content.h"
#include "slides/slide_geometry.h"

namespace quelna {

namespace {

class StandingsList : public SlideContent {
  public:
    StandingsList(const Tournament& t, SlideKind kind) : t_(t), kind_(kind) {}

    int layout(SlideShow& show) override {
        const SlideOptions& o = show.options();
        const bool withRound = kind_ == SlideKind::RoundResultsAndSeating;
        const bool teams = kind_ == SlideKind::TeamStandings;
        const ListColumns columns = withRound ? ListColumns::WithNextTable
                                    : teams   ? ListColumns::Teams
                                              : ListColumns::Players;
        trim_ = o.listHeadings;
        const ListGeometry g = listGeometry(show.monitor().width(), show.monitor().height(),
                                            o.lines, columns, withRound || trim_);
        geometry_ = g;
        const int margin = g.bands.margin;
        show.setContentFonts(g.captionFontHeight, true, g.cellFontHeight);
        if (withRound)
            show.addBands(margin, g.bands.band, true, t_.currentRound - 1);
        else if (trim_)
            show.addBands(margin, g.bands.band,
                          teams ? QStringLiteral(u"РЕЗУЛЬТАТЫ ПО КОМАНДАМ")
                                : QStringLiteral(u"СУММАРНЫЕ РЕЗУЛЬТАТЫ"));
        else
            show.addBands(margin, g.bands.band, false, 0);

        outline_ = show.addFrame(QRect(margin, g.y0, g.innerW, g.areaH));
        show.addFrame(QRect(margin, g.y0 + g.hdrH, g.innerW, 1));
        rules_.clear();
        for (int i = 1; i < o.lines; ++i)
            rules_.push_back(show.addFrame(QRect(margin, g.y0 + g.hdrH + i * g.rowH, g.innerW, 1)));
        dividers_.clear();
        if (!teams)
            dividers_.push_back(show.addFrame(QRect(g.x1, g.y0, 1, g.areaH)));
        dividers_.push_back(show.addFrame(QRect(g.x2, g.y0, 1, g.areaH)));
        dividers_.push_back(show.addFrame(QRect(g.x3, g.y0, 1, g.areaH)));
        if (withRound)
            dividers_.push_back(show.addFrame(QRect(g.x4, g.y0, 1, g.areaH)));

        // Column spans, each label one pixel inside its column.
        struct Span {
            int x, w;
        };
        std::vector<Span> spans;
        if (teams) {
            spans.push_back({margin, g.placeW + g.numberW});
        } else {
            spans.push_back({margin, g.placeW});
            spans.push_back({g.x1, g.numberW});
        }
        spans.push_back({g.x2, g.nameW});
        spans.push_back({g.x3, g.totalW});
        if (withRound)
            spans.push_back({g.x4, g.nextW});

        std::vector<QString> headings{QStringLiteral(u"Место")};
        if (!teams)
            headings.push_back(QStringLiteral(u"№"));
        headings.push_back(QStringLiteral(u"Имя"));
        headings.push_back(QStringLiteral(u"ИО"));
        for (size_t c = 0; c < headings.size(); ++c) {
            const QRect r(spans[c].x + 1, g.y0 + 1, spans[c].w - 2, g.hdrH - 2);
            show.addHeadingLabel(r)->setText(headings[c]);
        }
        if (withRound) {
            const Span& s = spans.back();
            show.addHeadingLabel(QRect(s.x + 1, g.y0 + 1, s.w - 2, g.hdrH - 2),
                                 Qt::AlignHCenter | Qt::AlignTop, true)
                ->setText(QStringLiteral(u"След. стол"));
        }

        lines_.assign(o.lines, {});
        for (int i = 0; i < o.lines; ++i) {
            const int y = g.y0 + g.hdrH + 1 + i * g.rowH;
            for (const Span& s : spans)
                lines_[i].push_back(
                    show.addContentLabel(QRect(s.x + 1, y, s.w - 2, g.rowH - 2), show.cellFont()));
        }
        entries_ = teams ? t_.teams.count() : t_.playerCount;
        return pagesFor(entries_, o.lines);
    }

    void fill(int page, bool show) override {
        if (!show) {
            for (auto& line : lines_)
                for (QLabel* label : line)
                    label->clear();
            return;
        }
        if (kind_ == SlideKind::TeamStandings)
            fillTeams(page);
        else
            fillPlayers(page);
        if (trim_)
            endAtLastLine(page);
    }

  private:
    // The frame, its rules and its column dividers end under the page's last entry, so a short
    // list (six teams, the last page of the players) is not followed by empty lines.
    void endAtLastLine(int page) {
        const int lines = static_cast<int>(lines_.size());
        const int used = std::clamp(entries_ - page * lines, 0, lines);
        const ListGeometry& g = geometry_;
        const int height = g.hdrH + used * g.rowH;
        outline_->setGeometry(QRect(g.bands.margin, g.y0, g.innerW, height));
        for (QFrame* d : dividers_)
            d->setGeometry(QRect(d->x(), g.y0, 1, height));
        for (int i = 0; i < static_cast<int>(rules_.size()); ++i)
            rules_[i]->setVisible(i + 1 < used);
    }

    // Rounds that count towards the totals.
    int roundsCounted() const {
        return kind_ == SlideKind::RoundResultsAndSeating ? t_.currentRound - 1 : t_.roundCount;
    }

    // Position in the ranking shown on line i of the page, or -1 after emptying a line past the
    // last entry.
    int entryOnLine(int page, int i, int entries) {
        const int d = page * static_cast<int>(lines_.size()) + i;
        if (d < entries)
            return d;
        for (QLabel* label : lines_[i])
            label->clear();
        return -1;
    }

    void fillPlayers(int page) {
        const int rounds = roundsCounted();
        const int latest = t_.currentRound - 1; // the round whose tables are listed
        std::vector<int> order;
        std::vector<std::string> places;
        const bool allEqual = rankPlayers(t_, rounds, order, places);
        for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
            const int d = entryOnLine(page, i, static_cast<int>(order.size()));
            if (d < 0)
                continue;
            std::vector<QLabel*>& labels = lines_[i];
            const int q = order[d];
            labels[0]->setText(allEqual ? QStringLiteral(u"0") : fromRecord(places[d]));
            labels[1]->setText(QString::number(t_.playerNumber[q] + 1));
            labels[2]->setText(fromRecord(t_.names[q]));
            labels[3]->setText(QString::fromStdString(standingsTotalText(t_, q, rounds)));
            if (labels.size() > 4) {
                const bool seated =
                    latest >= 0 && latest < t_.roundCount && t_.tableAt(latest, q) >= 0;
                labels[4]->setText(seated ? QString::number(t_.tableAt(latest, q) + 1) : QString());
            }
        }
    }

    void fillTeams(int page) {
        std::vector<int> order;
        std::vector<int> totals;
        std::vector<std::string> places;
        const bool allEqual = rankTeams(t_, roundsCounted(), order, totals, places);
        for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
            const int d = entryOnLine(page, i, static_cast<int>(order.size()));
            if (d < 0)
                continue;
            std::vector<QLabel*>& labels = lines_[i];
            const int e = order[d];
            labels[0]->setText(allEqual ? QStringLiteral(u"0") : fromRecord(places[d]));
            labels[1]->setText(fromRecord(t_.teams.name(e + 1)));
            labels[2]->setText(QString::number(totals[e]));
        }
    }

    const Tournament& t_;
    SlideKind kind_;
    std::vector<std::vector<QLabel*>> lines_;
    bool trim_ = false; // headings and no empty lines
    int entries_ = 0;
    ListGeometry geometry_;
    QFrame* outline_ = nullptr;
    std::vector<QFrame*> rules_;    // between data lines, the first under line 0
    std::vector<QFrame*> dividers_; // between columns
};

} // namespace

std::unique_ptr<SlideContent> makeStandingsList(const Tournament& t, SlideKind kind) {
    return std::make_unique<StandingsList>(t, kind);
}

} // namespace quelna
