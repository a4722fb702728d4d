#pragma once
// The four printed documents of a tournament, on any paged device: a printer, a PDF writer, or a
// test's PDF in memory. All of them read the record through the same standings and seats as the
// slides.
#include <QByteArray>
#include <QString>
#include <array>

class QPagedPaintDevice;

namespace quelna {

struct Tournament;

enum class PrintDocument {
    ScoreSheets, // one sheet per table of the latest seated round, two to a page
    WallList,    // every player by name with his table, for the entrance
    TableList,   // every table with its four players
    Standings,   // the standings, then the teams; the registration list before round 1
};

inline constexpr std::array<PrintDocument, 4> kPrintDocuments{
    PrintDocument::ScoreSheets, PrintDocument::WallList, PrintDocument::TableList,
    PrintDocument::Standings};

// The document's name as the menu shows it.
QString documentName(PrintDocument doc);

// The seating documents need a seated round; the standings always have the players to list.
bool hasSomethingToPrint(PrintDocument doc, const Tournament& t);

// Lays the document out for A4 and paints every page. Returns the number of pages, 0 when the
// device refused to be painted on. title is the tournament title (may be empty).
[[nodiscard]] int printDocument(PrintDocument doc, const Tournament& t, const QString& title,
                                QPagedPaintDevice& device);

// The whole document as a PDF in memory; 0 pages when it could not be produced.
[[nodiscard]] int renderPdf(PrintDocument doc, const Tournament& t, const QString& title,
                            QByteArray& pdf);

// Writes the PDF to path through the safe-write routine: on failure nothing is left behind and
// an existing file stays as it was.
[[nodiscard]] bool savePdf(PrintDocument doc, const Tournament& t, const QString& title,
                           const QString& path);

// "тур_3_бланки.pdf", one word per document, led by the title when there is one
// ("Кубок_города_тур_3_бланки.pdf"), with every character a file name cannot hold replaced by
// "_". Before round 1: "участники.pdf".
QString defaultPdfName(const QString& title, int seatedRounds, PrintDocument doc);

} // namespace quelna
