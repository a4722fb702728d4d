#pragma once
// The "Печать" menu: the four documents to the printer through the platform's print dialog, and
// any of them to a PDF file without a printer.
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "print/print_documents.h"

class QAction;
class QMenuBar;
class QPrinter;
class QWidget;

namespace quelna {

struct Tournament;

namespace ids {
inline constexpr int kPrintScoreSheets = 40031;
inline constexpr int kPrintWallList = 40032;
inline constexpr int kPrintTableList = 40033;
inline constexpr int kPrintStandings = 40034;
inline constexpr int kSavePdf = 40035;
} // namespace ids

class PrintMenu : public QObject {
    Q_OBJECT
  public:
    // Adds the menu to the bar. beforeOutput runs before every command, so that what the grid
    // shows but the record does not hold yet (points still being typed) is printed too.
    PrintMenu(QMenuBar* bar, QWidget* owner, const Tournament& t,
              std::function<void()> beforeOutput);

    // The commands by identifier, for the window's own lookup.
    const QHash<int, QAction*>& actions() const { return actions_; }
    // Greys what has nothing to print; the window calls it after every refresh.
    void update();

    void print(PrintDocument doc);
    void saveToPdf();

  private:
    QWidget* owner_;
    const Tournament& t_;
    std::function<void()> beforeOutput_;
    QHash<int, QAction*> actions_;
    QAction* documentActions_[4] = {};
};

// Tests answer the dialogs instead of a person. The print hook gets the printer the dialog would
// set up and returns whether to print; the PDF hook gets the suggested file name and the
// documents offered, and returns the file and document chosen, or nothing when cancelled.
// Empty functions bring the dialogs back.
using PrintDialogHook = std::function<bool(QPrinter& printer)>;
struct PdfChoice {
    QString path;
    PrintDocument document = PrintDocument::Standings;
};
using PdfDialogHook = std::function<std::optional<PdfChoice>(
    const QString& suggestedName, const std::vector<PrintDocument>& offered)>;
void setPrintDialogHook(PrintDialogHook hook);
void setPdfDialogHook(PdfDialogHook hook);

} // namespace quelna
