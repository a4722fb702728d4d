#include "print/print_documents.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QRegularExpression>

#include "core/safe_write.h"
#include "core/tournament.h"
#include "gui/core_path.h"
#include "gui/qt_text.h"
#include "print/document_layouts.h"
#include "print/page_frame.h"

namespace quelna {

QString documentName(PrintDocument doc) {
    switch (doc) {
    case PrintDocument::ScoreSheets:
        return QStringLiteral(u"Бланки столов");
    case PrintDocument::WallList:
        return QStringLiteral(u"Рассадка по алфавиту");
    case PrintDocument::TableList:
        return QStringLiteral(u"Рассадка по столам");
    case PrintDocument::Standings:
        break;
    }
    return QStringLiteral(u"Результаты");
}

bool hasSomethingToPrint(PrintDocument doc, const Tournament& t) {
    return doc == PrintDocument::Standings || latestSeatedRound(t) >= 0;
}

int latestSeatedRound(const Tournament& t) {
    const int r = t.currentRound - 1;
    return r >= 0 && r < t.roundCount && t.isRoundComplete(r) ? r : -1;
}

bool anyTeams(const Tournament& t) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.team[p] > 0)
            return true;
    return false;
}

std::vector<QStringList> seatRows(const Tournament& t, int round, int table, bool teams) {
    std::vector<QStringList> rows;
    for (int s = 0; s < 4; ++s) {
        const int p = t.playerAt(round, table, s);
        QStringList row{QString::number(s + 1)};
        if (p >= 0) {
            row << (t.playerNumber[p] >= 0 ? QString::number(t.playerNumber[p] + 1) : QString())
                << QString::fromStdString(seatNameUtf8(t, round, p));
            if (teams)
                row << fromRecord(t.teams.name(t.team[p]));
        }
        rows.push_back(row);
    }
    return rows;
}

QString roundCaption(const QString& document, int round) {
    return QStringLiteral(u"%1 — ТУР № %2").arg(document).arg(round + 1);
}

int printDocument(PrintDocument doc, const Tournament& t, const QString& title,
                  QPagedPaintDevice& device) {
    // The wall list goes landscape: two columns of large type with room for whole names.
    const auto orientation = doc == PrintDocument::Standings  ? standingsOrientation(t)
                             : doc == PrintDocument::WallList ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait;
    PageFrame frame(device, orientation, title);
    switch (doc) {
    case PrintDocument::ScoreSheets:
        layoutScoreSheets(t, frame);
        break;
    case PrintDocument::WallList:
        layoutWallList(t, frame);
        break;
    case PrintDocument::TableList:
        layoutTableList(t, frame);
        break;
    case PrintDocument::Standings:
        layoutStandings(t, frame);
        break;
    }
    return frame.render() ? frame.pageCount() : 0;
}

int renderPdf(PrintDocument doc, const Tournament& t, const QString& title, QByteArray& pdf) {
    pdf.clear();
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly))
        return 0;
    int pages = 0;
    {
        // The writer finishes the file when it goes, so the bytes are complete only after.
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral(u"quelna"));
        writer.setTitle(title.isEmpty() ? documentName(doc)
                                        : title + QStringLiteral(u" — ") + documentName(doc));
        pages = printDocument(doc, t, title, writer);
    }
    buffer.close();
    return pdf.isEmpty() ? 0 : pages;
}

bool savePdf(PrintDocument doc, const Tournament& t, const QString& title, const QString& path) {
    QByteArray pdf;
    if (renderPdf(doc, t, title, pdf) == 0)
        return false;
    // The default name is Cyrillic ("тур_3.pdf"): it reaches the core as the core expects it.
    return safeWriteFile(corePath(path),
                         std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
}

QString defaultPdfName(const QString& title, int seatedRounds, PrintDocument doc) {
    // Each document its own name, so that saving the next one does not replace the last.
    QString what;
    switch (doc) {
    case PrintDocument::ScoreSheets:
        what = QStringLiteral(u"бланки");
        break;
    case PrintDocument::WallList:
        what = QStringLiteral(u"по_алфавиту");
        break;
    case PrintDocument::TableList:
        what = QStringLiteral(u"по_столам");
        break;
    case PrintDocument::Standings:
        what = QStringLiteral(u"результаты");
        break;
    }
    QString name = seatedRounds > 0 ? QStringLiteral(u"тур_%1_%2").arg(seatedRounds).arg(what)
                                    : QStringLiteral(u"участники");
    QString lead = title;
    // Characters no file system takes, and blanks, which make names awkward to pass around.
    lead.replace(QRegularExpression(QStringLiteral(u"[\\\\/:*?\"<>|\\s\\x00-\\x1f]+")),
                 QStringLiteral(u"_"));
    while (lead.startsWith(QLatin1Char('_')) || lead.startsWith(QLatin1Char('.')))
        lead.remove(0, 1);
    while (lead.endsWith(QLatin1Char('_')) || lead.endsWith(QLatin1Char('.')))
        lead.chop(1);
    lead = lead.left(80);
    if (!lead.isEmpty())
        name = lead + QLatin1Char('_') + name;
    return name + QStringLiteral(u".pdf");
}

} // namespace quelna
