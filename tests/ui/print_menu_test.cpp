// The "Печать" menu in the real main window: what is greyed, a PDF that cannot be written, a
// cancelled print dialog.
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <gtest/gtest.h>

#include "core/text.h"
#include "tests/ui/main_window_support.h"
#include "ui/print_menu.h"

namespace quelna {
namespace {

using mwtest::Harness;
using uitest::expectError;
using uitest::MessageBoxCatcher;

struct HooksBack {
    ~HooksBack() {
        setPdfDialogHook({});
        setPrintDialogHook({});
    }
};

TEST(PrintMenu, SeatingDocumentsWaitForASeatedRound) {
    HooksBack back;
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 0, 5);
    h.w->refreshFromTournament();
    EXPECT_FALSE(h.w->menuAction(ids::kPrintScoreSheets)->isEnabled());
    EXPECT_FALSE(h.w->menuAction(ids::kPrintWallList)->isEnabled());
    EXPECT_FALSE(h.w->menuAction(ids::kPrintTableList)->isEnabled());
    EXPECT_TRUE(h.w->menuAction(ids::kPrintStandings)->isEnabled());
    std::vector<PrintDocument> offered;
    setPdfDialogHook([&](const QString&, const std::vector<PrintDocument>& docs) {
        offered = docs;
        return std::optional<PdfChoice>();
    });
    mwtest::chooseMenu(*h.w, ids::kSavePdf);
    EXPECT_EQ(offered, std::vector<PrintDocument>{PrintDocument::Standings});

    mwtest::playRounds(*h.t, 1, 5);
    h.w->refreshFromTournament();
    EXPECT_TRUE(h.w->menuAction(ids::kPrintScoreSheets)->isEnabled());
    EXPECT_TRUE(h.w->menuAction(ids::kPrintWallList)->isEnabled());
    EXPECT_TRUE(h.w->menuAction(ids::kPrintTableList)->isEnabled());
}

TEST(PrintMenu, UnwritablePdfShowsTheWriteErrorAndLeavesNoFile) {
    HooksBack back;
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 1, 9);
    h.w->refreshFromTournament();
    settings().tournamentTitle = utf8ToCp1251("Кубок города");
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    uitest::writeFile(blocker, "x");
    QString suggested;
    setPdfDialogHook([&](const QString& name, const std::vector<PrintDocument>&) {
        suggested = name;
        return std::optional<PdfChoice>(
            PdfChoice{blocker + QStringLiteral("/") + name, PrintDocument::ScoreSheets});
    });
    MessageBoxCatcher boxes;
    mwtest::chooseMenu(*h.w, ids::kSavePdf);
    QTest::qWait(50);
    EXPECT_EQ(suggested, QStringLiteral(u"Кубок_города_тур_1_бланки.pdf"));
    ASSERT_EQ(boxes.seen.size(), 1u);
    expectError(boxes.seen[0], QStringLiteral(u"Ошибка при записи в файл!"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("file")});
}

TEST(PrintMenu, CancelledPrintDialogPrintsAndChangesNothing) {
    HooksBack back;
    Harness h(16, 4);
    mwtest::playRounds(*h.t, 1, 11);
    h.w->refreshFromTournament();
    const std::string before = uitest::csvText(*h.t);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("printed.pdf"));
    bool accept = false;
    int asked = 0;
    setPrintDialogHook([&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return accept;
    });
    mwtest::chooseMenu(*h.w, ids::kPrintWallList);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(uitest::csvText(*h.t), before);

    accept = true; // the same command through to the "printer", a PDF file here
    mwtest::chooseMenu(*h.w, ids::kPrintWallList);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(uitest::fileBytes(out).startsWith("%PDF-"));
}

} // namespace
} // namespace quelna
