// "Сервис → Проверка турнира" and the rating portal's rules before export, through the real
// window: its menu, the dialog it opens, the boxes it shows.
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <algorithm>

#include "audit/fairness.h"
#include "audit/ui/check_dialog.h"
#include "core/test_data.h"
#include "files/file_commands.h"
#include "files/rating_rules.h"
#include "support/played_tournament.h"
#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

// Runs act on the next modal widget of type W once it shows.
template <typename W> void onNext(std::function<void(W*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start(5);
}

void clickButton(QWidget* d, const QString& text) {
    for (auto* b : d->findChildren<QPushButton*>())
        if (b->text() == text)
            return QTest::mouseClick(b, Qt::LeftButton);
    ADD_FAILURE() << "no button " << text.toStdString();
}

// Registration with names and teams, then `rounds` rounds seated by the fast exhaustive search
// (no limits: every round is the program's own) with random results.
void play(Tournament& t, int rounds, std::uint32_t seed) {
    runRandom().seed(seed);
    generateRandomNames(t, runRandom());
    generateRandomTeams(t, runRandom());
    numberPlayersInOrder(t);
    t.purgeUnusedTeams();
    t.rebuildMeetings();
    for (int r = 0; r < rounds; ++r) {
        ASSERT_TRUE(test_support::seatWithinLimits(t, {.exhaustiveVariants = 0},
                                                   {.method = ExhaustiveMethod::Fast})
                        .seated);
        t.normalizeRounds();
        generateRandomResults(t, r, runRandom());
    }
}

TEST(CheckDialog, ShowsTheFindingsAndFairnessOfA200PlayerTournament) {
    mwtest::Harness h(200, 6);
    Tournament& t = *h.t;
    play(t, 6, 21);
    // The last round as a hand placement would leave it: two players of tables 1 and 2 changed
    // places (with their points).
    const int a = t.playerAt(5, 0, 3), b = t.playerAt(5, 1, 3);
    std::swap(t.tableAt(5, a), t.tableAt(5, b));
    h.w->refreshFromTournament();

    QStringList lines, red;
    QString summary, firstFigure;
    int fairnessRows = 0;
    onNext<CheckDialog>([&](CheckDialog* d) {
        ASSERT_TRUE(QTest::qWaitFor([d] { return d->finished(); }, 120000));
        summary = d->summary()->text();
        fairnessRows = d->fairnessTable()->rowCount();
        firstFigure = d->fairnessTable()->item(0, 1)->text();
        for (int i = 0; i < d->findingsList()->count(); ++i) {
            const QListWidgetItem* item = d->findingsList()->item(i);
            lines << item->text();
            if (item->foreground().color() == Qt::red)
                red << item->text();
        }
        uitest::dialogShot(d, "check_200.png");
        clickButton(d, QStringLiteral(u"Закрыть"));
    });
    mwtest::chooseMenu(*h.w, mwtest::menuItem(*h.w, QStringLiteral(u"Про&верка турнира...")));

    EXPECT_EQ(fairnessRows, 4);
    EXPECT_EQ(firstFigure, QString::number(fairnessOf(t).repeatMeetings));
    EXPECT_TRUE(summary.startsWith(QStringLiteral(u"Итого: рассажено туров 6, рассадка программы "
                                                  u"повторена в 5;")))
        << summary.toStdString();
    const QString differs = QStringLiteral(u"Тур 6: рассадка не та, что даёт программа по "
                                           u"таблице перед туром (полный перебор): столы 1, 2.");
    EXPECT_TRUE(std::any_of(red.begin(), red.end(), [&differs](const QString& line) {
        return line.startsWith(differs);
    })) << red.join(u'\n').toStdString();
    // Every other red line is a table whose sum the swap broke.
    for (const QString& line : red)
        EXPECT_TRUE(line.startsWith(QStringLiteral(u"Тур 6"))) << line.toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral(u"Место ")).size(), 200);
}

// The portal's rules are named before the file is written; "Отмена" writes nothing, "Записать
// всё равно" writes every player.
TEST(CheckDialog, RatingExportNamesThePortalsRulesAndStillWrites) {
    mwtest::Harness h(12, 3);
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 4);
    ASSERT_GE(roundsPlayed(t), 1);
    t.setName(0, "Solo");
    h.w->refreshFromTournament();
    const QString path = h.dir.filePath(QStringLiteral(u"rating.csv"));
    setFileDialogHook([&path](bool save) { return save ? path : QString(); });
    QAction* item = mwtest::menuItem(*h.w, QStringLiteral(u"&Экспорт результатов для рейтинга..."));
    for (const QString& answer :
         {QStringLiteral(u"Отмена"), QStringLiteral(u"Записать всё равно")}) {
        QString text;
        onNext<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            clickButton(box, answer);
            if (answer != QStringLiteral(u"Отмена"))
                onNext<QMessageBox>([](QMessageBox* written) {
                    QTest::mouseClick(written->buttons().constFirst(), Qt::LeftButton);
                });
        });
        mwtest::chooseMenu(*h.w, item);
        EXPECT_TRUE(text.contains(QStringLiteral(u"Игроков 12, нужно не меньше 16.")));
        EXPECT_TRUE(text.contains(
            QStringLiteral(u"Сыграно туров %1, нужно не меньше 4.").arg(roundsPlayed(t))))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral(u"«Solo» — имя не из двух слов")));
        EXPECT_EQ(QFile::exists(path), answer != QStringLiteral(u"Отмена"));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 13); // the header and all twelve players
    setFileDialogHook({});
}

} // namespace
} // namespace quelna
