#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "core/settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/settings_dialog.h"

namespace quelna {
namespace {

using D = SettingsDialog;

// Keeps the process-wide settings as they were before each test.
class SettingsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Settings& s = settings();
        s.exhaustiveTimeout = 1;
        s.randomTimeout = 2;
        s.autosave = true;
        s.fixedTables = 1;
        s.overlapTables = 2;
        s.slideTablesX = 2;
        s.slideTablesY = 3;
        s.slideLines = 10;
        s.tournamentTitle = "Cup";
        s.secondaryAvailable = true;
        s.showOnSecondary = true;
        s.slideInterval = 7;
    }
    static QSpinBox* spin(const D& d, int id) { return qobject_cast<QSpinBox*>(d.control(id)); }
    static QCheckBox* check(const D& d, int id) { return qobject_cast<QCheckBox*>(d.control(id)); }
    static QLineEdit* title(const D& d) {
        return qobject_cast<QLineEdit*>(d.control(D::TitleEdit));
    }

    static void typeNumber(QSpinBox* s, const QString& text) { uitest::replaceText(s, text); }
    static void typeTitle(const D& d, const QString& text) { uitest::replaceText(title(d), text); }
    static void click(const D& d, int id) {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(d.control(id)), Qt::LeftButton);
    }

    // Changes every field of the dialog by typing and clicking.
    static void changeEveryField(const D& d) {
        typeNumber(spin(d, D::ExhaustiveTimeoutEdit), QStringLiteral(u"9"));
        typeNumber(spin(d, D::OverlapTablesEdit), QStringLiteral(u"3"));
        typeNumber(spin(d, D::RandomTimeoutEdit), QStringLiteral(u"0"));
        typeNumber(spin(d, D::FixedTablesEdit), QStringLiteral(u"0"));
        click(d, D::AutosaveCheck);
        typeTitle(d, QStringLiteral(u"Кубок «Весна» №1"));
        click(d, D::SecondaryCheck);
        typeNumber(spin(d, D::IntervalEdit), QStringLiteral(u"12"));
        typeNumber(spin(d, D::TablesXEdit), QStringLiteral(u"4"));
        typeNumber(spin(d, D::TablesYEdit), QStringLiteral(u"2"));
        typeNumber(spin(d, D::LinesEdit), QStringLiteral(u"32"));
    }

    static void expectUnchanged() {
        const Settings& s = settings();
        EXPECT_EQ(s.exhaustiveTimeout, 1);
        EXPECT_EQ(s.randomTimeout, 2);
        EXPECT_TRUE(s.autosave);
        EXPECT_EQ(s.fixedTables, 1);
        EXPECT_EQ(s.overlapTables, 2);
        EXPECT_EQ(s.slideTablesX, 2);
        EXPECT_EQ(s.slideTablesY, 3);
        EXPECT_EQ(s.slideLines, 10);
        EXPECT_EQ(s.tournamentTitle, "Cup");
        EXPECT_TRUE(s.showOnSecondary);
        EXPECT_EQ(s.slideInterval, 7);
    }

  private:
    uitest::SettingsGuard guard_; // taken before SetUp changes the settings
};

TEST_F(SettingsDialogTest, OpensWithTheCurrentValues) {
    D d(4);
    EXPECT_EQ(spin(d, D::ExhaustiveTimeoutEdit)->value(), 1);
    EXPECT_EQ(spin(d, D::RandomTimeoutEdit)->value(), 2);
    EXPECT_EQ(spin(d, D::FixedTablesEdit)->value(), 1);
    EXPECT_EQ(spin(d, D::OverlapTablesEdit)->value(), 2);
    EXPECT_EQ(spin(d, D::TablesYEdit)->text(), QStringLiteral(u"3"));
    EXPECT_EQ(spin(d, D::LinesEdit)->text(), QStringLiteral(u"10"));
    EXPECT_EQ(title(d)->text(), QStringLiteral(u"Cup"));
    EXPECT_TRUE(check(d, D::AutosaveCheck)->isChecked());
    // Each up-down is the arrows of its own edit.
    EXPECT_EQ(d.control(D::LinesUpDown), d.control(D::LinesEdit));
    EXPECT_EQ(d.control(D::IntervalUpDown), d.control(D::IntervalEdit));
    uitest::dialogShot(&d, "dialog_settings.png");
}

// The layout is drawn for a narrower face than the platform's: no text may be cut off.
TEST_F(SettingsDialogTest, EveryTextFitsItsControl) {
    for (const int tables : {3, 50}) {
        D d(tables);
        const QFontMetrics fm(d.font());
        for (const QLabel* label : d.findChildren<QLabel*>())
            EXPECT_LE(fm.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        for (const QCheckBox* box : d.findChildren<QCheckBox*>())
            EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
        for (const QSpinBox* spin : d.findChildren<QSpinBox*>())
            EXPECT_LE(spin->minimumSizeHint().width(), spin->width());
        for (const QPushButton* button : d.findChildren<QPushButton*>())
            EXPECT_LE(fm.horizontalAdvance(button->text()), button->width());
    }
}

TEST_F(SettingsDialogTest, TableCountsOfferNoMoreThanTheTournamentsTables) {
    for (const int tables : {3, 50}) {
        D d(tables);
        d.show();
        for (const int id : {D::OverlapTablesEdit, D::FixedTablesEdit}) {
            QSpinBox* s = spin(d, id);
            EXPECT_EQ(s->minimum(), 0);
            EXPECT_EQ(s->maximum(), tables);
            typeNumber(s, QString::number(tables));
            EXPECT_EQ(s->text(), QString::number(tables));
            QTest::keyClick(s, Qt::Key_Up);
            EXPECT_EQ(s->value(), tables);
            // One more table cannot be typed; the last digit is refused.
            typeNumber(s, QString::number(tables + 1));
            EXPECT_NE(s->text(), QString::number(tables + 1));
            typeNumber(s, QStringLiteral(u"0"));
            QTest::keyClick(s, Qt::Key_Down);
            EXPECT_EQ(s->value(), 0);
        }
    }
}

TEST_F(SettingsDialogTest, OkStoresEveryField) {
    D d(3);
    d.show();
    changeEveryField(d);
    click(d, D::OkButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    const Settings& s = settings();
    EXPECT_EQ(s.exhaustiveTimeout, 9);
    EXPECT_EQ(s.overlapTables, 3);
    EXPECT_EQ(s.randomTimeout, 0);
    EXPECT_EQ(s.fixedTables, 0);
    EXPECT_FALSE(s.autosave);
    // The title is kept as CP1251 bytes.
    EXPECT_EQ(s.tournamentTitle, "\xCA\xF3\xE1\xEE\xEA \xAB\xC2\xE5\xF1\xED\xE0\xBB \xB9"
                                 "1");
    EXPECT_FALSE(s.showOnSecondary);
    EXPECT_EQ(s.slideInterval, 12);
    EXPECT_EQ(s.slideTablesX, 4);
    EXPECT_EQ(s.slideTablesY, 2);
    EXPECT_EQ(s.slideLines, 32);
}

TEST_F(SettingsDialogTest, CancelCloseBoxAndEscChangeNothing) {
    for (int way = 0; way < 3; ++way) {
        D d(3);
        d.show();
        changeEveryField(d);
        if (way == 0)
            click(d, D::CancelButton);
        else if (way == 1)
            EXPECT_TRUE(d.close());
        else
            QTest::keyClick(d.control(D::LinesEdit), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible()) << way;
        EXPECT_EQ(d.result(), QDialog::Rejected) << way;
        expectUnchanged();
    }
}

TEST_F(SettingsDialogTest, EmptyTitleIsStoredEmpty) {
    D d(3);
    d.show();
    typeTitle(d, QString());
    EXPECT_TRUE(title(d)->text().isEmpty());
    QTest::keyClick(title(d), Qt::Key_Return); // the default button
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(settings().tournamentTitle, "");
}

TEST_F(SettingsDialogTest, TitleTakesOnlyStorableCharactersUpTo255) {
    D d(3);
    d.show();
    // The snowman and the CJK character have no CP1251 code and are refused as typed.
    typeTitle(d, QStringLiteral(u"A☃Б€中C"));
    EXPECT_EQ(title(d)->text(), QStringLiteral(u"AБ€C"));
    typeTitle(d, QString(300, QLatin1Char('x')));
    EXPECT_EQ(title(d)->text().size(), 255);
    click(d, D::OkButton);
    EXPECT_EQ(settings().tournamentTitle, std::string(255, 'x'));
}

TEST_F(SettingsDialogTest, TypedValuesOutsideTheRangesNeverReachTheSettings) {
    D d(3);
    d.show();
    typeNumber(spin(d, D::ExhaustiveTimeoutEdit), QStringLiteral(u"99")); // second 9 refused
    typeNumber(spin(d, D::RandomTimeoutEdit), QString());                 // empty reads as 0
    typeNumber(spin(d, D::IntervalEdit), QStringLiteral(u"3"));           // below 5
    typeNumber(spin(d, D::TablesXEdit), QStringLiteral(u"7"));            // refused: stays empty
    typeNumber(spin(d, D::TablesYEdit), QStringLiteral(u"1"));            // below 2
    typeNumber(spin(d, D::LinesEdit), QStringLiteral(u"4"));              // below 8
    typeNumber(spin(d, D::FixedTablesEdit), QStringLiteral(u"-2+x"));     // no sign, no letters
    click(d, D::OkButton);
    const Settings& s = settings();
    EXPECT_EQ(s.exhaustiveTimeout, 9);
    EXPECT_EQ(s.randomTimeout, 0);
    EXPECT_EQ(s.slideInterval, 5);
    EXPECT_EQ(s.slideTablesX, 2);
    EXPECT_EQ(s.slideTablesY, 2);
    EXPECT_EQ(s.slideLines, 8);
    EXPECT_EQ(s.fixedTables, 2);
    // Arrow keys stop at the bounds too.
    D again(3);
    again.show();
    QSpinBox* interval = spin(again, D::IntervalEdit);
    interval->setFocus();
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(interval, Qt::Key_Up);
    click(again, D::OkButton);
    EXPECT_EQ(settings().slideInterval, 20);
}

TEST_F(SettingsDialogTest, SecondaryMonitorBoxNeedsASecondMonitor) {
    settings().secondaryAvailable = false;
    settings().showOnSecondary = false;
    D single(3);
    EXPECT_FALSE(check(single, D::SecondaryCheck)->isEnabled());
    EXPECT_FALSE(check(single, D::SecondaryCheck)->isChecked());
    settings().secondaryAvailable = true;
    D dual(3);
    EXPECT_TRUE(check(dual, D::SecondaryCheck)->isEnabled());
}

} // namespace
} // namespace quelna
