// Arbitrary bytes as a tournament file. The reader must take what it can without leaving the
// record inconsistent, the load check must name exactly what normalising drops and every line of
// the substitutes and penalties the record does not keep, and a normalised
// record written, read back and written again must give the same bytes. Everything happens in
// memory, and the tournament is sized after the file, so a short input is a cheap run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/standings.h"
#include "core/text.h"
#include "core/tournament.h"
#include "files/load_check.h"
#include "files/tournament_csv.h"
#include "files/tournament_extras.h"
#include "fuzz_check.h"

using namespace quelna;

namespace {

struct Size {
    int players, rounds;
};

// The tournament the file describes (within what the program allows), or one a little off, so
// files of another size are read too. The first byte chooses.
Size sizeFor(std::uint8_t choice, std::string_view file) {
    const CsvShape shape = measureTournamentCsv(file);
    int players = std::clamp((shape.players + 3) / 4 * 4, 12, 200);
    int rounds = std::clamp(shape.rounds, 2, 12);
    switch (choice % 4) {
    case 1:
        players = std::min(players + 4, 200);
        break;
    case 2:
        players = std::max(players - 4, 12);
        break;
    case 3:
        rounds = choice & 4 ? std::min(rounds + 1, 12) : std::max(rounds - 1, 2);
        break;
    }
    return {players, rounds};
}

// What findDroppedRounds says agrees with what normalising the record drops.
void checkDropped(const Tournament& raw, const Tournament& normalised) {
    const auto dropped = findDroppedRounds(raw, false);
    bool lost = false;
    for (int i = 0; i < static_cast<int>(raw.tableOf.size()); ++i)
        lost = lost || raw.tableOf[i] != normalised.tableOf[i] ||
               raw.points[i] != normalised.points[i];
    FUZZ_CHECK(lost == dropped.has_value());
    if (!dropped)
        return;
    FUZZ_CHECK(dropped->round == normalised.currentRound);
    FUZZ_CHECK(dropped->dataRound >= dropped->round && dropped->dataRound < raw.roundCount);
    const int slot = dropped->dataLine - 2;
    FUZZ_CHECK(slot >= 0 && slot < raw.playerCount);
    FUZZ_CHECK(raw.tableAt(dropped->dataRound, slot) != -1 ||
               raw.pointsAt(dropped->dataRound, slot) != 0);
    const int incomplete = dropped->incompleteLine - 2;
    FUZZ_CHECK(incomplete >= 0 && incomplete < raw.playerCount);
}

// Every non-blank line after the marker is either kept by the normalised record or named by the
// load check.
void checkExtras(std::string_view file, const Tournament& raw, const Tournament& normalised) {
    const ExtrasProblems problems = findExtrasProblems(file, raw, 1000);
    std::size_t named = problems.count;
    for (const ExtrasProblem& p : problems.first) {
        FUZZ_CHECK(p.line >= 3); // after the header and the marker
        named -= p.why == ExtrasProblem::Why::CountedDiffers;
    }
    const Adjustments& a = normalised.adjustments;
    std::size_t kept = a.allSubstitutes().size() + a.allLeft().size();
    for (const auto& entry : a.allPenalties())
        kept += entry.second.size();
    std::size_t lines = 0;
    bool inSection = false;
    for (std::string_view rest = file.substr(std::min(file.size(), file.find('\n')));
         !rest.empty();) {
        rest.remove_prefix(1); // the line end before the line
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (inSection)
            lines += line.find_first_not_of(" \t") != std::string_view::npos;
        else
            inSection = isExtrasMarker(line);
    }
    FUZZ_CHECK(kept + named == lines);
}

void checkRecordAfterRead(const Tournament& t) {
    const int tables = t.tableCount();
    for (int p = 0; p < t.playerCount; ++p) {
        FUZZ_CHECK(static_cast<int>(t.names[p].size()) <= kMaxNameLength);
        FUZZ_CHECK(t.names[p] == sanitizeName(t.names[p]));
        FUZZ_CHECK(t.playerNumber[p] >= -1);
        FUZZ_CHECK(t.team[p] >= 0 && t.team[p] <= t.teams.count());
        for (int r = 0; r < t.roundCount; ++r) {
            FUZZ_CHECK(t.tableAt(r, p) >= -1 && t.tableAt(r, p) < tables);
            FUZZ_CHECK(t.seatAt(r, p) == -1);
        }
    }
    for (int k = 1; k <= t.teams.count(); ++k) {
        const std::string& name = t.teams.name(k);
        FUZZ_CHECK(!name.empty() && name == sanitizeName(name));
    }
}

void checkNormalised(const Tournament& t) {
    FUZZ_CHECK(t.currentRound >= 0 && t.currentRound <= t.roundCount);
    const int n = t.playerCount;
    for (int r = 0; r < t.roundCount; ++r) {
        if (r < t.currentRound) {
            FUZZ_CHECK(t.isRoundComplete(r));
            // Every table has its seats 0..3 exactly once.
            for (int table = 0; table < t.tableCount(); ++table) {
                int seats = 0;
                for (int p = 0; p < n; ++p)
                    if (t.tableAt(r, p) == table) {
                        FUZZ_CHECK(t.seatAt(r, p) >= 0 && t.seatAt(r, p) < 4);
                        seats |= 1 << t.seatAt(r, p);
                    }
                FUZZ_CHECK(seats == 0xF);
            }
        } else {
            for (int p = 0; p < n; ++p)
                FUZZ_CHECK(t.tableAt(r, p) == -1 && t.seatAt(r, p) == -1 && t.pointsAt(r, p) == 0);
        }
    }
    for (int a = 0; a < n; ++a) {
        FUZZ_CHECK(t.meetings.at(a, a) == 0);
        for (int b = a + 1; b < n; ++b) {
            int expected = t.team[a] > 0 && t.team[a] == t.team[b] ? 1 : 0;
            for (int r = 0; r < t.currentRound; ++r)
                expected += t.tableAt(r, a) == t.tableAt(r, b) ? 1 : 0;
            FUZZ_CHECK(t.meetings.at(a, b) == expected && t.meetings.at(b, a) == expected);
        }
    }
}

void checkOrder(const std::vector<int>& order, const std::vector<std::string>& places, int n) {
    FUZZ_CHECK(static_cast<int>(order.size()) == n && static_cast<int>(places.size()) == n);
    std::vector<char> seen(n, 0);
    for (int i = 0; i < n; ++i) {
        FUZZ_CHECK(order[i] >= 0 && order[i] < n && !seen[order[i]]);
        seen[order[i]] = 1;
        FUZZ_CHECK(!places[i].empty());
        FUZZ_CHECK(static_cast<int>(places[i].size()) <= kMaxPlaceTextLength);
    }
}

void checkStandings(const Tournament& t) {
    for (int k : {0, t.currentRound, t.roundCount}) {
        std::vector<int> order, totals;
        std::vector<std::string> places;
        rankPlayers(t, k, order, places);
        checkOrder(order, places, t.playerCount);
        for (int i = 1; i < t.playerCount; ++i)
            FUZZ_CHECK(t.runningTotal(order[i - 1], k) >= t.runningTotal(order[i], k));
        rankTeams(t, k, order, totals, places);
        checkOrder(order, places, t.teams.count());
    }
}

std::string written(const Tournament& t) {
    return tournamentCsvText(t);
}

void readText(Tournament& t, std::string_view text) {
    readTournamentCsv(t, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
    const Size s = sizeFor(data[0], file);

    Tournament t(s.players, s.rounds);
    readText(t, file);
    checkRecordAfterRead(t);
    const Tournament raw = t;
    t.normalizeRounds();
    checkDropped(raw, t);
    checkExtras(file, raw, t);
    checkNormalised(t);
    checkStandings(t);

    const std::string first = written(t);
    Tournament back(s.players, s.rounds);
    readText(back, first);
    checkRecordAfterRead(back);
    back.normalizeRounds();
    checkNormalised(back);
    FUZZ_CHECK(back.currentRound == t.currentRound);
    FUZZ_CHECK(back.teams.count() <= t.teams.count());
    const std::string second = written(back);
    FUZZ_CHECK(first == second);
    return 0;
}
