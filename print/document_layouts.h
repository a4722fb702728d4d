#pragma once
// One layout per document, each adding its pages to the frame. Only print_documents.cpp calls
// these.
#include <QPageLayout>
#include <QStringList>
#include <vector>

namespace quelna {

class PageFrame;
struct Tournament;

void layoutScoreSheets(const Tournament& t, PageFrame& frame);
void layoutWallList(const Tournament& t, PageFrame& frame);
void layoutTableList(const Tournament& t, PageFrame& frame);
void layoutStandings(const Tournament& t, PageFrame& frame);

// The standings go landscape when their round columns would crowd a portrait page.
QPageLayout::Orientation standingsOrientation(const Tournament& t);

// Shared by the layouts.
int latestSeatedRound(const Tournament& t); // -1 before round 1
bool anyTeams(const Tournament& t);
QString roundCaption(const QString& document, int round); // "Рассадка по столам — ТУР № 3"
// One row per seat of a table: seat, start number, name and, with teams, the team.
std::vector<QStringList> seatRows(const Tournament& t, int round, int table, bool teams);

} // namespace quelna
