// A round with no seating without repeat meetings: the failure message offers the seating with
// the fewest, and taking it seats the round and lists its repeat pairs.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "main_window_support.h"
#include "seating/round_quality.h"

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

TEST(SeatingFailure, OfferSeatsWithTheFewestRepeatsAndListsThem) {
    for (const bool take : {false, true}) {
        SCOPED_TRACE(take ? "taken" : "declined");
        Harness h(12, 3, true);
        Tournament& t = *h.t;
        click(h.button(995));
        click(h.button(993));
        mwtest::seat(h);
        ASSERT_EQ(t.currentRound, 1);
        click(h.button(1000));

        BoxAnswerer answerer(take ? QStringLiteral(u"Рассадить с повторами")
                                  : QStringLiteral(u"Закрыть"));
        mwtest::seat(h); // twelve players have no second round without a repeat meeting
        ASSERT_GE(answerer.seen.size(), 1);
        EXPECT_TRUE(answerer.seen[0].startsWith(QStringLiteral(u"Не удалось рассадить игроков!")));
        EXPECT_TRUE(
            answerer.seen[0].contains(QStringLiteral(u"Рассадки без повторных встреч нет")));
        if (!take) {
            EXPECT_EQ(answerer.seen.size(), 1);
            EXPECT_EQ(t.currentRound, 1);
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
