// The progress dialog's title is the only sign of the phase: a seating of 200 players goes
// through all three phases, and each title fits whole into the dialog's caption. Closing the
// dialog outside a running seating never reads as "seated".
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "core/settings.h"
#include "core/tournament.h"
#include "seating/ui/progress_dialog.h"
#include "support/wait_for.h"

namespace quelna {
namespace {

using test_support::waitFor;

// 200 players, the last 50 of them one team: the exhaustive search gets nowhere, the random
// search finds a seating and goes on improving it.
Tournament hardRound() {
    Tournament t(200, 4);
    const int team = t.teams.findOrAdd("Team");
    for (int p = 0; p < 200; ++p) {
        t.setName(p, "Player " + std::to_string(p + 1));
        t.playerNumber[p] = p;
        if (p >= 150)
            t.team[p] = team;
    }
    t.rebuildMeetings();
    return t;
}

// Room a caption needs besides its text: the window icon on the left, the close box on the right.
int captionButtons(const QWidget& d) {
    return 2 * d.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &d);
}

// A grab has no title bar, so one is drawn above the dialog in the title-bar font, its text cut
// with "…" where it would not fit beside the buttons; saved when QUELNA_SCREENSHOTS is set.
void shootWithCaption(ProgressDialog& d, const QString& name) {
    const QString dir = qEnvironmentVariable("QUELNA_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const QPixmap body = d.grab();
    const QFont font = ProgressDialog::titleBarFont();
    const QFontMetrics fm(font);
    const int h = fm.height() + 10;
    QPixmap picture(body.width(), body.height() + h);
    picture.fill(QColor(0x3c, 0x5a, 0x82));
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const int room = body.width() - captionButtons(d);
    painter.drawText(QRect(h, 0, room, h), Qt::AlignVCenter,
                     fm.elidedText(d.windowTitle(), Qt::ElideRight, room));
    painter.drawText(QRect(body.width() - h, 0, h, h), Qt::AlignCenter, QStringLiteral(u"✕"));
    painter.drawPixmap(0, h, body);
    painter.end();
    picture.save(dir + QStringLiteral(u"/progress_") + name + QStringLiteral(u".png"));
}

struct SettingsBack {
    SettingsBack() : saved(settings()) {}
    ~SettingsBack() { settings() = saved; }
    Settings saved;
};

TEST(ProgressDialogTitle, EveryPhaseTitleFitsWholeInTheCaption) {
    SettingsBack back;
    settings().fixedTables = 0;
    settings().overlapTables = 0;
    settings().exhaustiveTimeout = 1;
    settings().randomTimeout = 1;
    Tournament t = hardRound();
    ProgressDialog d(t);
    const QFontMetrics title(ProgressDialog::titleBarFont());
    std::set<QString> seen;
    const auto check = [&](const QString& phase, const char* name) {
        seen.insert(phase);
        EXPECT_GE(d.width(), title.horizontalAdvance(phase) + captionButtons(d))
            << phase.toStdString();
        shootWithCaption(d, QString::fromLatin1(name));
    };
    // The later titles are checked the moment they are set, while the worker waits for them.
    QObject::connect(&d, &QWidget::windowTitleChanged, [&](const QString& phase) {
        if (phase == ProgressDialog::randomTitle())
            check(phase, "random");
    });
    d.show();
    ASSERT_TRUE(waitFor([&] { return d.variantsField()->text() != QStringLiteral(u"0"); }));
    check(d.windowTitle(), "exhaustive");
    QTest::mouseClick(d.nextButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] {
        return d.windowTitle() == ProgressDialog::improveTitle() && d.nextButton()->isEnabled();
    }));
    QTest::qWait(300);
    check(d.windowTitle(), "improvement");
    QTest::mouseClick(d.nextButton(), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return d.workerFinished(); }));
    EXPECT_EQ(d.result(), static_cast<int>(SeatingResult::Seated));
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ProgressDialogTitle, ClosingOutsideARunningSeatingNeverReadsAsSeated) {
    constexpr int kSeated = static_cast<int>(SeatingResult::Seated);
    constexpr int kCancelled = static_cast<int>(SeatingResult::Cancelled);
    Tournament t(16, 4);
    for (int p = 0; p < 16; ++p)
        t.playerNumber[p] = p;
    t.rebuildMeetings();
    {
        ProgressDialog never(t, 0);
        never.reject();
        EXPECT_EQ(never.result(), kCancelled);
        never.done(kSeated);
        EXPECT_EQ(never.result(), kCancelled);
    }
    ProgressDialog d(t);
    d.show();
    ASSERT_TRUE(waitFor([&] { return d.workerFinished(); }));
    ASSERT_EQ(d.result(), kSeated);
    // Late calls keep the seating's own result.
    d.reject();
    EXPECT_EQ(d.result(), kSeated);
    d.done(static_cast<int>(SeatingResult::Failed));
    EXPECT_EQ(d.result(), kSeated);
}

} // namespace
} // namespace quelna
