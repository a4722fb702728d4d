#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sstream>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "core/text.h"
#include "core/tournament.h"
#include "files/file_commands.h"
#include "files/tournament_csv.h"
#include "tests/ui/ui_test_support.h"

namespace quelna {
namespace {

using uitest::csvText;
using uitest::expectError;
using uitest::fileBytes;
using uitest::MessageBoxCatcher;
using uitest::writeFile;

// Supplies one file name to the next command, then shows the dialogs again.
class FileNameHook {
  public:
    explicit FileNameHook(const QString& name) {
        setFileDialogHook([this, name](bool save) {
            asked.push_back(save);
            return name;
        });
    }
    ~FileNameHook() { setFileDialogHook({}); }
    std::vector<bool> asked;
};

// 16 players, 3 rounds: round 1 seated and scored, round 2 seated, round 3 open.
Tournament sampleTournament() {
    Tournament t(16, 3);
    for (int p = 0; p < 16; ++p) {
        const std::string team = p % 4 == 0 ? "" : utf8ToCp1251(p % 2 ? "Восток" : "West");
        t.setRegistration(p, utf8ToCp1251("Игрок №" + std::to_string(p + 1)), team, 16 - p);
        t.tableAt(0, p) = p / 4;
        t.pointsAt(0, p) = (p % 4 == 0) ? 300 : (p % 4 == 1 ? 100 : -200);
        t.tableAt(1, p) = p % 4;
    }
    t.purgeUnusedTeams();
    t.normalizeRounds();
    return t;
}

TEST(FileCommands, SavedFileLoadsBackToTheSameRecord) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(u"турнир.csv"));
    const Tournament original = sampleTournament();
    MessageBoxCatcher boxes;
    {
        FileNameHook hook(path);
        saveCommand(nullptr, original);
        EXPECT_EQ(hook.asked, std::vector<bool>{true});
    }
    ASSERT_TRUE(QFile::exists(path));
    Tournament loaded(16, 3);
    {
        FileNameHook hook(path);
        EXPECT_TRUE(loadCommand(nullptr, loaded));
        EXPECT_EQ(hook.asked, std::vector<bool>{false});
    }
    EXPECT_TRUE(boxes.seen.empty());
    loaded.normalizeRounds(); // as the main window does when it shows a loaded record
    EXPECT_EQ(loaded.currentRound, original.currentRound);
    EXPECT_EQ(loaded.teams.count(), original.teams.count());
    // The file holds every player's number, team, tables and points.
    EXPECT_EQ(csvText(loaded), csvText(original));
}

TEST(FileCommands, UnreadableFileGivesTheReadMessageAndKeepsTheRecord) {
    QTemporaryDir dir;
    const QString directory = dir.filePath(QStringLiteral(u"folder.csv"));
    ASSERT_TRUE(QDir().mkdir(directory));
    std::vector<QString> paths{dir.filePath(QStringLiteral(u"missing.csv")), directory};
    // Windows has no permission bit that stops reading.
#ifndef _WIN32
    if (geteuid() != 0) { // permissions do not stop the superuser
        const QString locked = dir.filePath(QStringLiteral(u"locked.csv"));
        writeFile(locked, QByteArray::fromStdString(csvText(Tournament(16, 3))));
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        paths.push_back(locked);
    }
#endif
    for (const QString& path : paths) {
        Tournament t = sampleTournament();
        const std::string before = csvText(t);
        MessageBoxCatcher boxes;
        FileNameHook hook(path);
        EXPECT_FALSE(loadCommand(nullptr, t));
        ASSERT_EQ(boxes.seen.size(), 1u) << path.toStdString();
        expectError(boxes.seen[0], QStringLiteral(u"Ошибка при чтении из файла!"));
        EXPECT_EQ(csvText(t), before);
        EXPECT_EQ(t.currentRound, 2);
    }
}

TEST(FileCommands, ReadOnlyTargetGivesTheWriteMessageAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(u"old.csv"));
    const QByteArray old("old content\r\n");
    writeFile(path, old);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    MessageBoxCatcher boxes;
    FileNameHook hook(path);
    saveCommand(nullptr, sampleTournament());
    ASSERT_EQ(boxes.seen.size(), 1u);
    expectError(boxes.seen[0], QStringLiteral(u"Ошибка при записи в файл!"));
    EXPECT_EQ(fileBytes(path), old);
    // A save into a folder that does not exist fails the same way.
    FileNameHook nowhere(dir.filePath(QStringLiteral(u"no/such/dir/x.csv")));
    saveCommand(nullptr, sampleTournament());
    EXPECT_EQ(boxes.seen.size(), 2u);
}

TEST(FileCommands, WritableFileIsReplacedWithoutAQuestionAndCancelDoesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral(u"quelna.csv"));
    writeFile(path, "old content\r\n");
    const Tournament t = sampleTournament();
    MessageBoxCatcher boxes;
    {
        FileNameHook hook(path);
        saveCommand(nullptr, t);
    }
    EXPECT_EQ(fileBytes(path).toStdString(), csvText(t));
    {
        FileNameHook cancelled{QString()};
        saveCommand(nullptr, sampleTournament());
        Tournament other(16, 3);
        EXPECT_FALSE(loadCommand(nullptr, other));
        EXPECT_EQ(cancelled.asked.size(), 2u);
    }
    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(fileBytes(path).toStdString(), csvText(t));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral(u"quelna.csv")});
}

// Drives the real file dialogs: what they offer, and a file typed into their name field.
TEST(FileCommands, DialogsOfferCsvFilesAndTheDefaultName) {
    QTemporaryDir dir;
    struct Seen {
        QStringList filters;
        QString suffix;
        QFileDialog::AcceptMode mode;
        QFileDialog::FileMode fileMode;
        bool confirmOverwrite;
        QString typedName;
    };
    std::vector<Seen> seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen.push_back({dialog->nameFilters(), dialog->defaultSuffix(), dialog->acceptMode(),
                        dialog->fileMode(), !dialog->testOption(QFileDialog::DontConfirmOverwrite),
                        nameEdit ? nameEdit->text() : QStringLiteral("<no name field>")});
        dialog->setDirectory(dir.path());
        if (nameEdit) {
            nameEdit->selectAll();
            uitest::typeText(nameEdit, QStringLiteral(u"итоги"));
            QTest::keyClick(nameEdit, Qt::Key_Return);
        }
        if (dialog->isVisible())
            dialog->reject();
    });
    timer.start(20);
    const Tournament t = sampleTournament();
    saveCommand(nullptr, t);
    // The default suffix completes the typed name.
    const QString saved = dir.filePath(QStringLiteral(u"итоги.CSV"));
    EXPECT_EQ(fileBytes(saved).toStdString(), csvText(t));
    Tournament loaded(16, 3);
    EXPECT_TRUE(loadCommand(nullptr, loaded));
    timer.stop();
    EXPECT_EQ(csvText(loaded), csvText(t));

    ASSERT_EQ(seen.size(), 2u);
    for (const Seen& s : seen) {
        EXPECT_EQ(s.filters, QStringList{QStringLiteral(u"CSV-файл (*.CSV *.csv)")});
        EXPECT_EQ(s.suffix, QStringLiteral(u"CSV"));
    }
    EXPECT_EQ(seen[0].mode, QFileDialog::AcceptSave);
    EXPECT_FALSE(seen[0].confirmOverwrite);
    EXPECT_EQ(seen[0].typedName, QStringLiteral(u"quelna.csv"));
    EXPECT_EQ(seen[1].mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen[1].fileMode, QFileDialog::ExistingFile);
    EXPECT_TRUE(seen[1].typedName.isEmpty());
}

} // namespace
} // namespace quelna
