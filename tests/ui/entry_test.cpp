#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

#include "core/settings.h"
#include "gui/core_path.h"
#include "gui/tooltips.h"
#include "tests/ui/main_window_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/entry.h"
#include "ui/main_window.h"
#include "ui/parameters_dialog.h"
#include "ui/settings_dialog.h"

namespace quelna {
namespace {

using uitest::fileBytes;
using uitest::writeFile;

// Acts on every modal window the run opens, in turn, and notes the kind of each.
class ModalScript {
  public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || !w->isVisible() || w == last_)
                return;
            last_ = w;
            seen.push_back(QString::fromUtf8(w->metaObject()->className()));
            if (next_ < steps_.size())
                steps_[next_++](w);
            else
                w->close(); // an unexpected window must not hang the test
        });
        timer_.start(10);
    }
    std::vector<QString> seen;

  private:
    QTimer timer_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    QPointer<QWidget> last_;
};

void fillParameters(QWidget* w, const QString& players, const QString& rounds, bool testMode) {
    auto* d = qobject_cast<ParametersDialog*>(w);
    ASSERT_NE(d, nullptr);
    for (auto [id, text] : {std::pair{int(ParametersDialog::PlayersEdit), players},
                            std::pair{int(ParametersDialog::RoundsEdit), rounds}}) {
        uitest::replaceText(qobject_cast<QLineEdit*>(d->control(id)), text);
    }
    if (testMode)
        QTest::mouseClick(qobject_cast<QCheckBox*>(d->control(ParametersDialog::TestModeCheck)),
                          Qt::LeftButton);
    QTest::mouseClick(qobject_cast<QPushButton*>(d->control(ParametersDialog::OkButton)),
                      Qt::LeftButton);
}

// The run changes the process-wide settings; later tests in this process get them back.
class Entry : public ::testing::Test {
    uitest::SettingsGuard guard_;
};

TEST_F(Entry, ClosingTheParametersDialogEndsTheRunAndWritesTheSettings) {
    ASSERT_EQ(QGuiApplication::screens().size(), 1);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    writeFile(ini, "[OTHER]\r\nKEEP=yes\r\n[QUELNA]\r\nSECONDARY=1\r\nINTERVAL=9\r\n");
    ModalScript script({[](QWidget* w) { w->close(); }});
    EXPECT_EQ(runEntry(*qApp, ini), 0);
    // No tournament, no main window: the parameters dialog was the only window.
    EXPECT_EQ(script.seen, std::vector<QString>{QStringLiteral(u"quelna::ParametersDialog")});
    const QByteArray written = fileBytes(ini);
    EXPECT_TRUE(written.contains("SECONDARY=0")) << written.toStdString();
    EXPECT_TRUE(written.contains("INTERVAL=9"));
    EXPECT_TRUE(written.contains("KEEP=yes"));
    EXPECT_FALSE(settings().secondaryAvailable);
    EXPECT_FALSE(settings().showOnSecondary);
}

TEST_F(Entry, AcceptedParametersRunTheMainWindowWithAutosaveByMode) {
    for (const bool testMode : {true, false}) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
        settings().autosave = testMode; // the entry must set it, whatever it was
        int players = 0, rounds = 0;
        bool windowTestMode = !testMode, autosave = !testMode;
        ModalScript script({[&](QWidget* w) {
                                fillParameters(w, QStringLiteral(u"20"), QStringLiteral(u"3"),
                                               testMode);
                            },
                            [&](QWidget* w) {
                                auto* main = qobject_cast<MainWindow*>(w);
                                ASSERT_NE(main, nullptr);
                                players = main->pointsCell(0, 19) ? 20 : 0;
                                rounds = main->seatCell(2, 0) ? 3 : 0;
                                windowTestMode = main->testMode();
                                autosave = settings().autosave;
                                // Nothing to keep: no autosave file beside the test program.
                                settings().autosave = false;
                                w->close();
                            }});
        EXPECT_EQ(runEntry(*qApp, ini), 0);
        ASSERT_EQ(script.seen.size(), 2u);
        EXPECT_EQ(script.seen[1], QStringLiteral(u"quelna::MainWindow"));
        EXPECT_EQ(players, 20);
        EXPECT_EQ(rounds, 3);
        EXPECT_EQ(windowTestMode, testMode);
        EXPECT_EQ(autosave, !testMode);
        EXPECT_TRUE(fileBytes(ini).contains("SECONDARY=0"));
    }
}

// The same run on a desktop with two monitors, in a child process started with two screens.
// `quelna FILE.csv`, as "Open with" starts it: a tournament file (a Cyrillic name here) opens
// in the main window without the parameters dialog; a file of a size the program cannot run is
// refused with the message "Открыть" gives, and closing the parameters dialog that follows ends
// the run without a window of that size.
TEST_F(Entry, FileFromTheCommandLineOpensInsteadOfTheParametersDialog) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    Tournament played(20, 3);
    mwtest::playRounds(played, 1, 5);
    const QString tournamentFile = dir.filePath(QStringLiteral(u"Кубок осени.csv"));
    ASSERT_TRUE(saveTournamentFile(played, corePath(tournamentFile)));
    // A tournament's header with seven players: no size the program can run.
    const QString notATournament = dir.filePath(QStringLiteral(u"семь.csv"));
    writeFile(notATournament, fileBytes(tournamentFile).split('\n').mid(0, 8).join('\n') + '\n');

    {
        QString shownPoints;
        ModalScript opened({[&](QWidget* w) {
            auto* main = qobject_cast<MainWindow*>(w);
            ASSERT_NE(main, nullptr);
            (void)QTest::qWaitFor([&] { return !main->pointsCell(0, 0)->text().isEmpty(); });
            shownPoints = main->pointsCell(0, 0)->text();
            settings().autosave = false;
            w->close();
        }});
        EXPECT_EQ(runEntry(*qApp, ini, tournamentFile), 0);
        EXPECT_EQ(opened.seen, std::vector<QString>{QStringLiteral(u"quelna::MainWindow")});
        const int first = played.playerAt(0, 0, 0);
        EXPECT_EQ(shownPoints, QString::number(played.pointsAt(0, first)));
    }
    QString message;
    ModalScript refused({[&](QWidget* w) {
                             if (auto* box = qobject_cast<QMessageBox*>(w))
                                 message = box->text();
                             w->close();
                         },
                         [](QWidget* w) { w->close(); }});
    EXPECT_EQ(runEntry(*qApp, ini, notATournament), 0);
    EXPECT_EQ(refused.seen, (std::vector<QString>{QStringLiteral(u"QMessageBox"),
                                                  QStringLiteral(u"quelna::ParametersDialog")}));
    EXPECT_EQ(message, QStringLiteral(u"Ошибка при чтении из файла!"));
}

TEST_F(Entry, SecondMonitorKeepsTheSecondaryOption) {
    QTemporaryDir dir;
    const QString screens = dir.filePath(QStringLiteral(u"screens.json"));
    writeFile(screens, R"({"screens":[
        {"name":"A","x":0,"y":0,"width":1600,"height":900,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
        {"name":"B","x":-1920,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    const QString ini = dir.filePath(QStringLiteral(u"quelna.ini"));
    writeFile(ini, "[QUELNA]\r\nSECONDARY=1\r\n");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Relative to the child's folder: a Windows path's drive letter would split the argument.
    env.insert(QStringLiteral(u"QT_QPA_PLATFORM"),
               QStringLiteral(u"offscreen:configfile=screens.json"));
    env.insert(QStringLiteral(u"QUELNA_ENTRY_CHILD_INI"), ini);
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral(u"--gtest_also_run_disabled_tests"),
                 QStringLiteral(u"--gtest_filter=EntryChild.DISABLED_TwoMonitors")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAllStandardOutput() + child.readAllStandardError();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_TRUE(fileBytes(ini).contains("SECONDARY=1")) << fileBytes(ini).toStdString();
}

// Runs only inside the child process of the test above, which starts it with two screens.
TEST(EntryChild, DISABLED_TwoMonitors) {
    const QString ini = qEnvironmentVariable("QUELNA_ENTRY_CHILD_INI");
    ASSERT_FALSE(ini.isEmpty());
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    bool boxEnabled = false;
    ModalScript script({[&](QWidget* w) {
        // The settings dialog offers the secondary monitor once a second one was counted.
        SettingsDialog settingsDialog(4);
        boxEnabled = settingsDialog.control(SettingsDialog::SecondaryCheck)->isEnabled();
        w->close();
    }});
    EXPECT_EQ(runEntry(*qApp, ini), 0);
    EXPECT_TRUE(settings().secondaryAvailable);
    EXPECT_TRUE(settings().showOnSecondary);
    EXPECT_TRUE(boxEnabled);
}

TEST(ToolTips, WrappedAtTwoHundredPixelsWithoutLosingText) {
    const QFontMetrics fm(QToolTip::font());
    const QString tip = QStringLiteral(
        u"В тестовом режиме можно проводить виртуальные розыгрыши туров для тестирования "
        u"программы и проверки загрузки/выгрузки данных.");
    const QString wrapped = wrapToolTip(tip, fm);
    const QStringList lines = wrapped.split(QLatin1Char('\n'));
    EXPECT_GT(lines.size(), 1);
    for (const QString& line : lines) {
        EXPECT_LE(fm.horizontalAdvance(line), kToolTipWidth) << line.toStdString();
        EXPECT_FALSE(line.isEmpty());
    }
    // Where the tip font is so large that a word is wider than a line (Qt's offscreen platform
    // under Wine), the word is cut by characters, as below; the text itself stays whole.
    bool everyWordFits = true;
    for (const QString& word : tip.split(QLatin1Char(' ')))
        everyWordFits = everyWordFits && fm.horizontalAdvance(word) <= kToolTipWidth;
    if (!everyWordFits) {
        EXPECT_EQ(lines.join(QString()).remove(QLatin1Char(' ')),
                  QString(tip).remove(QLatin1Char(' ')));
    } else {
        EXPECT_EQ(lines.join(QLatin1Char(' ')), tip) << wrapped.toStdString();
        // Each line is as full as it can be: the next line's first word would not have fitted.
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QString withNext =
                lines[i] + QLatin1Char(' ') + lines[i + 1].section(QLatin1Char(' '), 0, 0);
            EXPECT_GT(fm.horizontalAdvance(withNext), kToolTipWidth);
        }
    }
    // A word wider than the tip is cut, not lost; short tips and given line breaks stay.
    const QString word(120, QLatin1Char('W'));
    const QStringList pieces = wrapToolTip(word, fm).split(QLatin1Char('\n'));
    EXPECT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(QString()), word);
    for (const QString& piece : pieces)
        EXPECT_LE(fm.horizontalAdvance(piece), kToolTipWidth);
    EXPECT_EQ(wrapToolTip(QStringLiteral(u"Коротко"), fm), QStringLiteral(u"Коротко"));
    EXPECT_EQ(wrapToolTip(QStringLiteral(u"a\nb"), fm), QStringLiteral(u"a\nb"));
}

TEST(ToolTips, ShownAfterThreeHundredMillisecondsAndWrapped) {
    installToolTipBehaviour(*qApp);
    installToolTipBehaviour(*qApp); // a second call changes nothing
    ParametersDialog d;
    d.show();
    QWidget* check = d.control(ParametersDialog::TestModeCheck);
    EXPECT_EQ(check->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, check), 300);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), check->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(check, &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), wrapToolTip(check->toolTip(), QFontMetrics(QToolTip::font())));
    EXPECT_TRUE(QToolTip::text().contains(QLatin1Char('\n')));
    QToolTip::hideText();
}

} // namespace
} // namespace quelna
