// A round with no seating without repeat meetings: the failure message offers the seating with
// the fewest, and taking it seats the round behind the progress dialog, whose Отмена gives up,
// and lists its repeat pairs.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <optional>

#include "main_window_support.h"
#include "seating/round_quality.h"
#include "seating/ui/progress_dialog.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;

// Notes every message box and presses the button with the given text, or else the first one.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(QString press) : press_(std::move(press)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen << box->text() + QStringLiteral("|") + box->informativeText();
            QAbstractButton* chosen = box->buttons().constFirst();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press_)
                    chosen = b;
            QTest::mouseClick(chosen, Qt::LeftButton);
        });
        timer_.start(5);
    }
    QStringList seen;

  private:
    QString press_;
    QTimer timer_;
};

// Presses Отмена of the seating with repeats as its dialog appears, before its search starts, so
// the search is stopped however fast it would have been.
class CancelFewestRepeats : public QObject {
  public:
    CancelFewestRepeats() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* d = qobject_cast<ProgressDialog*>(o);
        if (d && e->type() == QEvent::Show &&
            d->windowTitle() == ProgressDialog::fewestRepeatsTitle()) {
            titles << d->windowTitle();
            nextShown = nextShown || d->nextButton()->isVisibleTo(d);
            QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
        }
        return false;
    }
    QStringList titles;
    bool nextShown = false;
};

TEST(SeatingFailure, OfferSeatsWithTheFewestRepeatsAndListsThem) {
    enum class Answer { Decline, Take, TakeThenCancel };
    for (const Answer answer : {Answer::Decline, Answer::Take, Answer::TakeThenCancel}) {
        SCOPED_TRACE(static_cast<int>(answer));
        const bool take = answer != Answer::Decline;
        Harness h(12, 3, true);
        Tournament& t = *h.t;
        click(h.button("namesButton"));
        click(h.button("numberButton"));
        mwtest::seat(h);
        ASSERT_EQ(t.currentRound, 1);
        click(h.button("resultsButton1"));

        BoxAnswerer answerer(take ? QStringLiteral(u"Рассадить с повторами")
                                  : QStringLiteral(u"Закрыть"));
        std::optional<CancelFewestRepeats> cancel;
        if (answer == Answer::TakeThenCancel)
            cancel.emplace();
        const Tournament before = t;
        mwtest::seat(h); // twelve players have no second round without a repeat meeting
        ASSERT_GE(answerer.seen.size(), 1);
        EXPECT_TRUE(answerer.seen[0].startsWith(QStringLiteral(u"Не удалось рассадить игроков!")));
        EXPECT_TRUE(
            answerer.seen[0].contains(QStringLiteral(u"Рассадки без повторных встреч нет")));
        if (answer != Answer::Take) {
            EXPECT_EQ(answerer.seen.size(), 1);
            EXPECT_EQ(t.currentRound, 1);
            for (int p = 0; p < t.playerCount; ++p)
                EXPECT_EQ(t.tableAt(1, p), before.tableAt(1, p)) << "player " << p;
            if (cancel) {
                EXPECT_EQ(cancel->titles.size(), 1);
                EXPECT_FALSE(cancel->nextShown) << "no phase to move on to";
            }
            continue;
        }
        ASSERT_EQ(answerer.seen.size(), 2);
        ASSERT_EQ(t.currentRound, 2);
        const int repeats = countRepeatPairs(t, 1);
        // Three tables drawn from three tables of four: at least one old pair at each.
        EXPECT_GE(repeats, 3);
        const QStringList lines =
            answerer.seen[1].section(QLatin1Char('|'), 0, 0).split(QLatin1Char('\n'));
        EXPECT_EQ(lines[0], QStringLiteral(u"Повторных встреч: %1").arg(repeats));
        EXPECT_EQ(lines.size(), repeats + 1);
        EXPECT_FALSE(h.w->seatCell(1, 0)->text().isEmpty());
    }
}

} // namespace
} // namespace quelna
