// Seat cells read from their beginning: the start number is always in sight, whatever the width
// of the column, and a text that does not fit is whole in the tip. After a seating the view shows
// the first table of the new round.
#include <QFileDialog>
#include <QImage>
#include <QRegularExpression>
#include <QTranslator>
#include <gtest/gtest.h>

#include "tests/ui/main_window_support.h"
#include "ui/qt_translation.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;

const QRect kFullHd(0, 0, 1920, 1080);

// The pixels of the cell's left part, where its first characters are drawn.
QImage leftPart(QWidget* cell, int width) {
    return cell->grab().toImage().copy(0, 0, width, cell->height());
}

// The cell shows the first characters of its text: where they are drawn it looks like a cell of
// the same size holding a start of the text short enough to fit. Only the prefix is compared,
// up to the blank after it, so the next glyph's edge plays no part.
bool showsBeginning(QLineEdit* cell, const QString& prefix) {
    QLineEdit reference(cell->parentWidget());
    reference.setReadOnly(cell->isReadOnly());
    reference.setEnabled(cell->isEnabled());
    reference.setPalette(cell->palette());
    reference.setGeometry(cell->geometry());
    reference.setText(cell->text().left(prefix.size() + 3));
    reference.setCursorPosition(0);
    reference.show();
    const int width = reference.fontMetrics().horizontalAdvance(prefix) + 3;
    return cell->text().startsWith(prefix) && leftPart(cell, width) == leftPart(&reference, width);
}

// Every seat cell of the seated rounds begins with the start number and shows it from its start;
// a cell whose text does not fit carries the whole text as its tip.
void expectSeatCellsReadFromStart(const MainWindow& w, const Tournament& t) {
    for (int j = 0; j < t.currentRound; ++j) {
        for (int tb = 0; tb < t.tableCount(); ++tb) {
            for (int s = 0; s < 4; ++s) {
                QLineEdit* cell = w.seatCell(j, 4 * tb + s);
                const int player = t.playerAt(j, tb, s);
                const QString number = QString::number(t.playerNumber[player] + 1) + u' ';
                ASSERT_TRUE(cell->text().startsWith(number)) << j << " " << tb << " " << s;
                ASSERT_EQ(cell->cursorPosition(), 0) << cell->text().toStdString();
                // Clearly too wide or clearly narrow enough; the frame's few pixels are the
                // edit's own business.
                const int advance = cell->fontMetrics().horizontalAdvance(cell->text());
                if (advance > cell->width()) {
                    ASSERT_EQ(cell->toolTip(), cell->text());
                }
                if (advance < cell->width() - 12) {
                    ASSERT_EQ(cell->toolTip(), QString()) << cell->text().toStdString();
                }
            }
        }
    }
}

// The cell of round j where the player with start number n sits.
QLineEdit* seatCellOf(const MainWindow& w, const Tournament& t, int j, int n) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.playerNumber[p] == n - 1)
            return w.seatCell(j, 4 * t.tableAt(j, p) + t.seatAt(j, p));
    return nullptr;
}

TEST(MainWindowSeatText, LongSeatTextShowsItsStartNumberAfterEveryRefresh) {
    Harness h(200, 4, false, kFullHd);
    Tournament& t = *h.t;
    mwtest::playRounds(t, 2, 149);
    for (int p = 0; p < t.playerCount; ++p)
        if (t.playerNumber[p] == 148)
            t.setName(p, std::string(49, 'W'));
    h.w->refreshFromTournament();
    for (int pass = 0; pass < 2; ++pass) { // the same texts again move no cursor either
        SCOPED_TRACE(pass);
        expectSeatCellsReadFromStart(*h.w, t);
        for (int j = 0; j < 2; ++j) {
            QLineEdit* cell = seatCellOf(*h.w, t, j, 149);
            ASSERT_NE(cell, nullptr);
            EXPECT_TRUE(cell->text().startsWith(QStringLiteral("149 WWW")));
            EXPECT_EQ(cell->toolTip(), cell->text());
            EXPECT_TRUE(showsBeginning(cell, QStringLiteral("149"))) << j;
        }
        h.w->refreshFromTournament();
    }
    // Widening round 1 narrows round 2; both still read from their start.
    click(h.button(1500));
    expectSeatCellsReadFromStart(*h.w, t);
    EXPECT_TRUE(showsBeginning(seatCellOf(*h.w, t, 1, 149), QStringLiteral("149")));
    EXPECT_TRUE(showsBeginning(seatCellOf(*h.w, t, 0, 149), QStringLiteral("149")));
}

// 200 players in test mode seated three times with clicks only, the view scrolled to the bottom
// before every seating: each seating shows the top of the new round.
TEST(MainWindowSeatText, TestTournamentOf200ShowsTheTopOfEveryNewRound) {
    runRandom().seed(2027);
    Harness h(200, 12, true, kFullHd);
    mwtest::ModalWatcher watcher(/*pressNext=*/true);
    click(h.button(995));
    click(h.button(989));
    click(h.button(993));
    ASSERT_GT(h.w->scrollMax(), 0);
    for (int r = 0; r < 3; ++r) {
        h.w->pageDown();
        ASSERT_EQ(h.w->scrollPos(), h.w->scrollMax());
        mwtest::seat(h);
        ASSERT_EQ(h.t->currentRound, r + 1);
        EXPECT_EQ(h.w->scrollPos(), 0) << "round " << r + 1;
        EXPECT_EQ(h.w->gridArea()->y(), 0);
        EXPECT_FALSE(h.w->upArrowEnabled());
        EXPECT_TRUE(h.w->downArrowEnabled());
        click(h.button(1000 + r));
    }
    EXPECT_EQ(watcher.messages, QStringList());
    expectSeatCellsReadFromStart(*h.w, *h.t);
    mwtest::snapshot(h.w.get(), "main_200x12_round3.png");
}

// Qt's own Russian: the save dialog that "Записать в CSV-файл..." opens.
TEST(MainWindowSeatText, SaveDialogIsInRussianWithQtsTranslation) {
    if (!installQtTranslation(*qApp))
        GTEST_SKIP() << "qtbase_ru.qm is not installed";
    Harness h(16, 4, false, kFullHd);
    QString title;
    QStringList labels;
    QTimer poll;
    int shownTicks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        // Some ticks more for the folder view to fill before the picture.
        if (!dialog || !dialog->isVisible() || ++shownTicks < 15)
            return;
        poll.stop();
        title = dialog->windowTitle();
        for (auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::Reject})
            labels << dialog->labelText(label);
        uitest::dialogShot(dialog, "dialog_save_russian.png");
        dialog->reject();
    });
    poll.start(20);
    mwtest::chooseMenu(*h.w, ids::kSaveCommand);
    const QString russianSaveAs = QCoreApplication::translate("QFileDialog", "Save As");
    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
    EXPECT_EQ(title, russianSaveAs);
    EXPECT_NE(title, QStringLiteral("Save As"));
    ASSERT_EQ(labels.size(), 3);
    for (const QString& label : labels)
        EXPECT_TRUE(label.contains(QRegularExpression(QStringLiteral(u"[А-Яа-я]"))))
            << label.toStdString();
}

} // namespace
} // namespace quelna
