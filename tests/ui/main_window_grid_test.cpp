// The main window's grid: controls and their states after creation, column fitting on injected
// work areas, widening rounds and scrolling, driven by real clicks and keys.
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <set>

#include "tests/ui/main_window_support.h"

namespace quelna {
namespace {

using mwtest::click;
using mwtest::Harness;
using mwtest::typeInto;

QRect scrollBarPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.upsideDown = false;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar);
}

void clickPart(QScrollBar* bar, QStyle::SubControl part) {
    const QRect r = scrollBarPart(bar, part);
    ASSERT_TRUE(r.isValid()) << "scroll bar part " << part;
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
}

void wheel(QWidget* target, int delta) {
    const QPointF pos = QPointF(target->rect().center());
    QWheelEvent e(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    // Spontaneous, as from the mouse: such a wheel event travels up from a control that ignores it.
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::instance()->notify(target, &e);
}

TEST(MainWindowGrid, ControlsAfterCreation) {
    Harness h(16, 4);
    MainWindow& w = *h.w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral(u"Риичи - рассадка игроков по швейцарской системе"));
    const ColumnWidths& cw = w.columnWidths();
    const int lw = cw.listWidth;

    for (int i = 0; i < 16; ++i) {
        QLineEdit* name = h.edit(2000 + i);
        ASSERT_NE(name, nullptr);
        EXPECT_TRUE(name->isEnabled());
        EXPECT_TRUE(name->text().isEmpty());
        EXPECT_EQ(name->geometry(), QRect(20, 20 + 20 * i, lw - lw / 4, 20));
        EXPECT_EQ(h.edit(2500 + i)->geometry(), QRect(lw - lw / 4 + 20, 20 + 20 * i, lw / 4, 20));
        EXPECT_EQ(h.edit(3000 + i)->geometry(), QRect(lw + 20, 20 + 20 * i, 30, 20));
    }
    for (int tb = 0; tb < 4; ++tb) {
        auto* label = qobject_cast<QLabel*>(w.control(9000 + tb));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QStringLiteral(u"СТОЛ № %1 ").arg(tb + 1));
        EXPECT_TRUE(label->isHidden());
    }
    for (int r = 0; r < 4; ++r) {
        const int x = lw + 70 + r * (cw.seatWidth + cw.pointsWidth + 20);
        auto* header = qobject_cast<QLabel*>(w.control(4000 + r));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->text(), QStringLiteral(u"ИО%1").arg(r + 1));
        EXPECT_EQ(header->geometry(), QRect(x + cw.seatWidth, 0, cw.pointsWidth, 20));
        EXPECT_EQ(w.control(1000 + r), nullptr);
        QPushButton* rb = h.button(1500 + r);
        ASSERT_NE(rb, nullptr);
        EXPECT_EQ(rb->text(), QStringLiteral(u"< &%1 >").arg(r + 1));
        EXPECT_EQ(rb->toolTip(), QStringLiteral(u"Показать информацию о туре № %1").arg(r + 1));
        EXPECT_FALSE(rb->isEnabled());
        EXPECT_EQ(rb->geometry(), QRect(x, 20 * 20, 40, 20));
        for (int p = 0; p < 16; ++p) {
            const int y = 20 + 100 * (p / 4) + 20 * (p % 4);
            EXPECT_EQ(w.seatCell(r, p)->geometry(), QRect(x, y, cw.seatWidth, 20));
            EXPECT_EQ(w.pointsCell(r, p)->geometry(),
                      QRect(x + cw.seatWidth, y, cw.pointsWidth, 20));
            EXPECT_TRUE(w.seatCell(r, p)->isReadOnly());
            EXPECT_FALSE(w.seatCell(r, p)->isEnabled());
            EXPECT_FALSE(w.pointsCell(r, p)->isEnabled());
            EXPECT_TRUE(w.pointsCell(r, p)->alignment() & Qt::AlignRight);
        }
    }
    EXPECT_EQ(w.control(995), nullptr);
    EXPECT_EQ(w.control(989), nullptr);
    EXPECT_EQ(h.button(999)->text(), QStringLiteral(u"Рассадить &игроков >"));
    EXPECT_EQ(h.button(999)->geometry(), QRect(20, 20 * 16 + 40, lw - 10, 40));
    EXPECT_EQ(h.button(990)->geometry(), QRect(lw + 10, 20 * 16 + 40, 40, 40));
    EXPECT_TRUE(h.button(990)->isCheckable());
    EXPECT_FALSE(h.button(990)->icon().isNull());
    EXPECT_EQ(h.button(993)->text(), QStringLiteral(u"&Р"));
    EXPECT_EQ(h.button(993)->toolTip(), QStringLiteral(u"Расставить номера игроков по порядку"));
    for (int id : {999, 990, 993})
        EXPECT_FALSE(h.button(id)->isEnabled()) << id;
    EXPECT_EQ(w.shownRound(), 0);

    const std::pair<int, const char16_t*> menu[] = {
        {40001, u"&Прочитать из CSV-файла..."},
        {40005, u"&Записать в CSV-файл..."},
        {40003, u"В&ыход"},
        {40004, u"&Параметры..."},
        {40006, u"Рассадка"},
        {40007, u"Результаты текущего тура по столам"},
        {40008, u"Результаты тура и рассадка"},
        {40009, u"Суммарные результаты"},
        {40011, u"Результаты по командам"},
    };
    for (const auto& [id, text] : menu) {
        QAction* a = w.menuAction(id);
        ASSERT_NE(a, nullptr) << id;
        EXPECT_EQ(a->text(), QString::fromUtf16(text));
        EXPECT_EQ(a->isEnabled(), id < 40006) << id;
    }
}

TEST(MainWindowGrid, TestModeButtons) {
    Harness h(12, 3, true);
    MainWindow& w = *h.w;
    const int lw = w.columnWidths().listWidth;
    EXPECT_EQ(h.button(995)->geometry(), QRect(20, 0, 30, 20));
    EXPECT_EQ(h.button(989)->geometry(), QRect(lw - lw / 4 + 20, 0, 30, 20));
    EXPECT_TRUE(h.button(995)->isEnabled());
    EXPECT_TRUE(h.button(989)->isEnabled());
    EXPECT_EQ(h.button(995)->toolTip(),
              QStringLiteral(u"Сгенерировать случайные имена игроков для тестирования"));
    EXPECT_EQ(h.button(989)->toolTip(),
              QStringLiteral(u"Сгенерировать группы/команды игроков для тестирования"));
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(w.control(4000 + r), nullptr);
        QPushButton* b = h.button(1000 + r);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QStringLiteral(u"&Р"));
        EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(b->toolTip(), QStringLiteral(u"Сгенерировать случайные результаты тура"));
    }
}

TEST(MainWindowGrid, EveryCellOfTheLargestTournamentIsItsOwn) {
    Harness h(200, 12, true, QRect(0, 0, 1920, 1040));
    MainWindow& w = *h.w;
    std::set<QWidget*> cells;
    for (int r = 0; r < 12; ++r)
        for (int p = 0; p < 200; ++p) {
            cells.insert(w.seatCell(r, p));
            cells.insert(w.pointsCell(r, p));
        }
    cells.erase(nullptr);
    EXPECT_EQ(cells.size(), 4800u);
    std::set<QWidget*> controls;
    int ids = 0;
    auto note = [&](int id) {
        if (QWidget* c = w.control(id)) {
            controls.insert(c);
            ++ids;
            EXPECT_EQ(cells.count(c), 0u) << id;
        }
    };
    for (int id : {999, 990, 993, 995, 989})
        note(id);
    for (int i = 0; i < 200; ++i)
        for (int base : {2000, 2500, 3000})
            note(base + i);
    for (int r = 0; r < 12; ++r)
        for (int base : {1000, 1500})
            note(base + r);
    for (int tb = 0; tb < 50; ++tb)
        note(9000 + tb);
    EXPECT_EQ(ids, 679);
    EXPECT_EQ(static_cast<int>(controls.size()), ids);
    // All of them, cells included, are plain children of the grid: 5,479 controls, and the two
    // headings of the player list's first row.
    EXPECT_EQ(w.gridArea()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 5479 + 2);
    EXPECT_EQ(w.seatCell(11, 199)->geometry().y(), 20 + 100 * 49 + 60);
    EXPECT_EQ(w.seatCell(12, 0), nullptr);
    EXPECT_EQ(w.pointsCell(0, 200), nullptr);
}

TEST(MainWindowGrid, LargeScreenKeepsWidthsAndDoesNotScroll) {
    Harness h(12, 2);
    MainWindow& w = *h.w;
    EXPECT_EQ(w.columnWidths().listWidth, 250);
    EXPECT_EQ(w.columnWidths().seatWidth, 250);
    EXPECT_EQ(w.columnWidths().pointsWidth, 60);
    EXPECT_EQ(w.scrollMax(), 0);
    EXPECT_FALSE(w.upArrowEnabled());
    EXPECT_FALSE(w.downArrowEnabled());
    EXPECT_FALSE(w.verticalBar()->isEnabled());
    EXPECT_EQ(w.gridGeometry().clientWidth, 980);
    EXPECT_EQ(w.width(), 980 + w.verticalBar()->width());
    wheel(w.control(2000 + 0), -120);
    EXPECT_EQ(w.scrollPos(), 0);
}

TEST(MainWindowGrid, TallGridScrollsByLinesPagesAndWheel) {
    Harness h(200, 3, false, QRect(0, 0, 1900, 1000));
    MainWindow& w = *h.w;
    const GridGeometry& g = w.gridGeometry();
    const int frameHeight = g.windowHeight - g.clientHeight;
    const int v = (1000 - frameHeight - 40) / 20;
    EXPECT_EQ(g.clientHeight, v * 20 + 40);
    EXPECT_EQ(w.scrollMax(), 250 - v);
    ASSERT_GE(w.scrollMax(), 2);
    EXPECT_FALSE(w.upArrowEnabled());
    EXPECT_TRUE(w.downArrowEnabled());

    QScrollBar* bar = w.verticalBar();
    clickPart(bar, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(w.scrollPos(), 1);
    EXPECT_EQ(w.gridArea()->y(), -20);
    EXPECT_TRUE(w.upArrowEnabled());
    EXPECT_TRUE(w.downArrowEnabled());

    clickPart(bar, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(w.scrollPos(), w.scrollMax());
    EXPECT_FALSE(w.downArrowEnabled());
    EXPECT_EQ(bar->value(), w.scrollMax());
    clickPart(bar, QStyle::SC_ScrollBarAddLine); // at the end: nothing moves
    EXPECT_EQ(w.scrollPos(), w.scrollMax());

    clickPart(bar, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(w.scrollPos(), w.scrollMax() - 1);
    EXPECT_TRUE(w.upArrowEnabled());
    EXPECT_TRUE(w.downArrowEnabled());
    EXPECT_EQ(w.gridArea()->y(), -20 * (w.scrollMax() - 1));

    // Any wheel notch is one line, whatever its size; over a cell or over the scroll bar.
    wheel(w.seatCell(0, 5), -360);
    EXPECT_EQ(w.scrollPos(), w.scrollMax());
    wheel(bar, 15);
    EXPECT_EQ(w.scrollPos(), w.scrollMax() - 1);
    wheel(bar, 0);
    EXPECT_EQ(w.scrollPos(), w.scrollMax() - 1);

    clickPart(bar, QStyle::SC_ScrollBarSubPage);
    EXPECT_EQ(w.scrollPos(), 0);
    EXPECT_FALSE(w.upArrowEnabled());
    EXPECT_TRUE(w.downArrowEnabled());
    EXPECT_EQ(w.gridArea()->y(), 0);

    // Dragging the box does not scroll: it springs back to the grid's position.
    const QPoint handle = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(bar, handle + QPoint(0, 100));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, handle + QPoint(0, 100));
    EXPECT_EQ(w.scrollPos(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST(MainWindowGrid, TabIntoHiddenRowsScrollsThemIntoView) {
    Harness h(200, 2, false, QRect(0, 0, 1900, 1000));
    MainWindow& w = *h.w;
    const int visibleRows = (w.gridGeometry().clientHeight - 40) / 20;
    const int row = visibleRows + 5;
    click(h.edit(2000));
    for (int i = 0; i < 3 * row; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_EQ(focused, h.edit(2000 + row));
    EXPECT_GT(w.scrollPos(), 0);
    EXPECT_TRUE(w.upArrowEnabled());
    const int y = focused->y() + w.gridArea()->y();
    EXPECT_GE(y, 0);
    EXPECT_LE(y + 20, w.gridGeometry().clientHeight);
    // Back to the top with Shift+Tab.
    for (int i = 0; i < 3 * row; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), h.edit(2000));
    EXPECT_EQ(w.scrollPos(), 0);
    EXPECT_FALSE(w.upArrowEnabled());
    // A refresh puts the focus into the first number edit, which comes into view with it.
    clickPart(w.verticalBar(), QStyle::SC_ScrollBarAddPage);
    ASSERT_EQ(w.scrollPos(), w.scrollMax());
    w.refreshFromTournament();
    EXPECT_EQ(QApplication::focusWidget(), h.edit(3000));
    EXPECT_EQ(w.scrollPos(), 0);
}

TEST(MainWindowGrid, NarrowScreenWidensOneRoundAtATime) {
    Harness h(32, 12, false, QRect(0, 0, 1040, 900));
    MainWindow& w = *h.w;
    mwtest::playRounds(*h.t, 4, 7);
    ASSERT_EQ(h.t->currentRound, 4);
    const ColumnWidths cw = w.columnWidths();
    EXPECT_EQ(cw.pointsWidth, 0);
    EXPECT_GE(cw.seatWidth, 40);
    EXPECT_EQ(w.pointsCell(0, 0)->width(), 0);
    ASSERT_TRUE(cw.listWidthDiffers);

    w.refreshFromTournament(); // round 4 is the latest and is shown widened
    EXPECT_EQ(w.shownRound(), 4);
    EXPECT_EQ(w.pointsCell(3, 0)->width(), 60);
    EXPECT_EQ(w.pointsCell(0, 0)->width(), cw.otherPointsWidth);
    const QRect widenedList = w.control(2000 + 3)->geometry();
    EXPECT_EQ(widenedList.width(), cw.focusListWidth - cw.focusListWidth / 4);
    for (int tb = 0; tb < 4; ++tb)
        EXPECT_TRUE(w.control(9000 + tb)->isVisible());

    auto* second = qobject_cast<QPushButton*>(w.control(1501));
    ASSERT_TRUE(second->isEnabled());
    click(second);
    EXPECT_EQ(w.shownRound(), 2);
    EXPECT_EQ(w.pointsCell(1, 0)->width(), 60);
    EXPECT_EQ(w.seatCell(1, 0)->width(), cw.focusSeatWidth);
    EXPECT_EQ(w.pointsCell(3, 0)->width(), cw.otherPointsWidth);
    EXPECT_EQ(w.control(2000 + 3)->geometry(), widenedList);
    EXPECT_EQ(w.control(9000)->x(), w.seatCell(1, 0)->x());
    EXPECT_FALSE(second->isEnabled());
    EXPECT_TRUE(w.control(1503)->isEnabled()); // the way back to the latest round
    EXPECT_EQ(QApplication::focusWidget(), w.pointsCell(3, 0));

    click(w.control(1502));
    EXPECT_EQ(w.shownRound(), 3);
    EXPECT_EQ(w.control(2000 + 3)->geometry(), widenedList);

    w.showRound(0);
    const int lw = cw.listWidth;
    EXPECT_EQ(w.control(2000 + 3)->geometry(), QRect(20, 80, lw - lw / 4, 20));
    EXPECT_EQ(w.control(993)->x(), lw + 20);
    EXPECT_EQ(w.control(990)->x(), lw + 10);
    EXPECT_EQ(w.control(999)->width(), lw - 10);
    EXPECT_TRUE(w.control(9000)->isHidden());
    EXPECT_EQ(w.pointsCell(3, 0)->width(), 0);
}

TEST(MainWindowGrid, NameAndNumberEditsTakeOnlyStorableText) {
    Harness h(12, 2);
    QLineEdit* name = h.edit(2000);
    typeInto(name, QStringLiteral(u"Анна; Ли\u4e2d"));
    EXPECT_EQ(name->text(), QStringLiteral(u"Анна Ли"));
    typeInto(name, QString(60, QLatin1Char('x')));
    EXPECT_EQ(name->text().size(), 49);
    QLineEdit* team = h.edit(2500);
    typeInto(team, QStringLiteral(u"Клуб;№1 €"));
    EXPECT_EQ(team->text(), QStringLiteral(u"Клуб№1 €"));
    // A pasted spreadsheet cell: the tab becomes a blank, the rest is kept as far as storable.
    QLineEdit* second = h.edit(2001);
    click(second);
    QApplication::clipboard()->setText(QStringLiteral(u"Пётр\tИванов;\u4e2d\n"));
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(second->text(), QStringLiteral(u"Пётр Иванов "));
    QLineEdit* number = h.edit(3000);
    typeInto(number, QStringLiteral(u"1a-2 3"));
    EXPECT_EQ(number->text(), QStringLiteral(u"123"));
}

TEST(MainWindowGrid, EscapeAndEnterDoNotCloseOrSeat) {
    Harness h(12, 2);
    for (int i = 0; i < 12; ++i)
        typeInto(h.edit(3000 + i), QString::number(i + 1));
    ASSERT_TRUE(h.button(999)->isEnabled());
    QTest::keyClick(h.edit(3000 + 11), Qt::Key_Return);
    QTest::keyClick(h.edit(3000 + 11), Qt::Key_Escape);
    QTest::keyClick(h.w.get(), Qt::Key_Escape);
    EXPECT_TRUE(h.w->isVisible());
    EXPECT_EQ(h.t->currentRound, 0);
    EXPECT_EQ(h.t->tableAt(0, 0), -1);
}

} // namespace
} // namespace quelna
