// Time and size of each printed document for 200 players and 12 rounds (a recorded tournament),
// rendered into a PDF in memory. Figures, not pass/fail.
#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "core/tournament.h"
#include "files/tournament_csv.h"
#include "print/print_documents.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_print TOURNAMENT.csv [PLAYERS ROUNDS]\n");
        return 2;
    }
    const int players = argc > 3 ? std::stoi(argv[2]) : 200;
    const int rounds = argc > 3 ? std::stoi(argv[3]) : 12;
    quelna::Tournament t(players, rounds);
    if (!quelna::loadTournamentFile(t, argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    t.normalizeRounds();
    for (quelna::PrintDocument doc : quelna::kPrintDocuments) {
        QByteArray pdf;
        QElapsedTimer timer;
        timer.start();
        const int pages = quelna::renderPdf(doc, t, QStringLiteral(u"Кубок"), pdf);
        std::printf("%-22s %3d pages %8lld bytes %6lld ms\n",
                    quelna::documentName(doc).toStdString().c_str(), pages,
                    static_cast<long long>(pdf.size()), static_cast<long long>(timer.elapsed()));
    }
    return 0;
}
