#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/parameters_dialog.h"

namespace quelna {
namespace {

using uitest::MessageBoxCatcher;
using uitest::replaceText;

const QString kInvalidText = QStringLiteral(
    u"Неверные параметры!\nЧисло игроков должно быть кратно четырём, не более 200 и не менее "
    u"12.\nЧисло туров должно быть от 2 до 12.");

QLineEdit* edit(const ParametersDialog& d, int id) {
    return qobject_cast<QLineEdit*>(d.control(id));
}

void pressOk(const ParametersDialog& d) {
    QTest::mouseClick(qobject_cast<QPushButton*>(d.control(ParametersDialog::OkButton)),
                      Qt::LeftButton);
}

TEST(ParametersDialog, StartsWithSixteenPlayersAndFourRounds) {
    ParametersDialog d;
    EXPECT_EQ(edit(d, ParametersDialog::PlayersEdit)->text(), QStringLiteral(u"16"));
    EXPECT_EQ(edit(d, ParametersDialog::RoundsEdit)->text(), QStringLiteral(u"4"));
    EXPECT_FALSE(qobject_cast<QCheckBox*>(d.control(ParametersDialog::TestModeCheck))->isChecked());
    EXPECT_TRUE(qobject_cast<QPushButton*>(d.control(ParametersDialog::OkButton))->isDefault());
    EXPECT_EQ(d.windowTitle(), QStringLiteral(u"Параметры"));
    uitest::dialogShot(&d, "dialog_parameters.png");
}

TEST(ParametersDialog, AcceptsTheSmallestAndLargestTournament) {
    struct Case {
        QString players, rounds;
        int n, r;
        bool test;
    };
    uitest::SettingsGuard guard;
    for (const Case& c : {Case{QStringLiteral(u"12"), QStringLiteral(u"2"), 12, 2, true},
                          Case{QStringLiteral(u"200"), QStringLiteral(u"12"), 200, 12, false}}) {
        settings().fixedTables = 50;
        settings().overlapTables = 7;
        MessageBoxCatcher boxes;
        ParametersDialog d;
        d.show();
        replaceText(edit(d, ParametersDialog::PlayersEdit), c.players);
        replaceText(edit(d, ParametersDialog::RoundsEdit), c.rounds);
        if (c.test)
            QTest::mouseClick(qobject_cast<QCheckBox*>(d.control(ParametersDialog::TestModeCheck)),
                              Qt::LeftButton);
        pressOk(d);
        EXPECT_TRUE(boxes.seen.empty()) << c.n;
        EXPECT_EQ(d.result(), 1);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.playerCount(), c.n);
        EXPECT_EQ(d.roundCount(), c.r);
        EXPECT_EQ(d.testMode(), c.test);
        // The table counts of the seating never exceed the tournament's tables.
        EXPECT_EQ(settings().fixedTables, std::min(50, c.n / 4));
        EXPECT_EQ(settings().overlapTables, std::min(7, c.n / 4));
    }
}

TEST(ParametersDialog, RejectsWrongSizesWithTheMessageAndStaysOpen) {
    struct Case {
        QString players, rounds;
    };
    const Case cases[] = {
        {QStringLiteral(u"204"), QStringLiteral(u"4")},
        {QStringLiteral(u"14"), QStringLiteral(u"4")},
        {QStringLiteral(u"8"), QStringLiteral(u"4")},
        {QStringLiteral(u"0"), QStringLiteral(u"4")},
        {QString(), QStringLiteral(u"4")},
        {QStringLiteral(u"16"), QStringLiteral(u"1")},
        {QStringLiteral(u"16"), QStringLiteral(u"13")},
        {QStringLiteral(u"16"), QString()},
        {QStringLiteral(u"99999999999999999999"), QStringLiteral(u"4")},
    };
    for (const Case& c : cases) {
        MessageBoxCatcher boxes;
        ParametersDialog d;
        d.show();
        replaceText(edit(d, ParametersDialog::PlayersEdit), c.players);
        replaceText(edit(d, ParametersDialog::RoundsEdit), c.rounds);
        pressOk(d);
        ASSERT_EQ(boxes.seen.size(), 1u)
            << c.players.toStdString() << "/" << c.rounds.toStdString();
        uitest::expectError(boxes.seen[0], kInvalidText);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(edit(d, ParametersDialog::PlayersEdit)->text(), c.players);
        EXPECT_EQ(edit(d, ParametersDialog::RoundsEdit)->text(), c.rounds);
    }
}

TEST(ParametersDialog, TakesDigitsOnlyAndEnterPressesOk) {
    MessageBoxCatcher boxes;
    ParametersDialog d;
    d.show();
    QLineEdit* players = edit(d, ParametersDialog::PlayersEdit);
    replaceText(players, QStringLiteral(u"2-a 0,x"));
    EXPECT_EQ(players->text(), QStringLiteral(u"20"));
    replaceText(players, QStringLiteral(u"24"));
    QTest::keyClick(players, Qt::Key_Return);
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(d.playerCount(), 24);
    EXPECT_EQ(d.roundCount(), 4);
}

TEST(ParametersDialog, EscIsIgnoredAndTheCloseBoxEndsWithZero) {
    ParametersDialog d;
    d.show();
    QTest::keyClick(edit(d, ParametersDialog::PlayersEdit), Qt::Key_Escape);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.close());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), 0);
}

} // namespace
} // namespace quelna
