#include "audit/tournament_check.h"

#include <algorithm>
#include <climits>
#include <string>

#include "audit/round_rules.h"
#include "audit/standings_rules.h"

namespace quelna {

namespace {

// The random search leaves no repeat meeting and numbers the tables by their best-placed player;
// a round that differs from the exhaustive seating but has both may be its work, when the
// exhaustive search was stopped sooner than here.
bool mayBeRandomSearch(const Tournament& t, int round, bool meetingsClean) {
    if (!meetingsClean)
        return false;
    std::vector<int> best(t.tableCount(), INT_MIN);
    for (int p = 0; p < t.playerCount; ++p) {
        const int table = t.tableAt(round, p);
        if (table >= 0 && table < t.tableCount())
            best[table] = std::max(best[table], t.runningTotal(p, round));
    }
    return std::is_sorted(best.rbegin(), best.rend());
}

Finding seatingFinding(int round, const RederivedRound& redone, const RederiveSettings& settings) {
    const std::string tour = "Тур " + std::to_string(round + 1) + ": ";
    switch (redone.how) {
    case Rederived::Exhaustive:
    case Rederived::FewestRepeats: {
        const std::string how = redone.how == Rederived::Exhaustive
                                    ? "полный перебор"
                                    : "без повторов рассадить нельзя, наименьшее число повторов";
        if (redone.matches())
            return {FindingKind::SeatingMatches,
                    false,
                    round,
                    {},
                    {},
                    tour + "рассадка та, что даёт программа по таблице перед туром (" + how + ")."};
        return {FindingKind::SeatingDiffers,
                true,
                round,
                redone.differingTables,
                {},
                tour + "рассадка не та, что даёт программа по таблице перед туром (" + how +
                    "): " + (redone.differingTables.size() > 1 ? "столы " : "стол ") +
                    numbersFromOne(redone.differingTables) + "."};
    }
    case Rederived::NotReached:
        return {FindingKind::SeatingNotRedone,
                false,
                round,
                {},
                {},
                tour + "полный перебор не закончился" +
                    (settings.exhaustiveSeconds > 0
                         ? " за " + std::to_string(settings.exhaustiveSeconds) + " с"
                         : std::string()) +
                    "; программа рассадила бы подбором, его случайные ходы не повторить, "
                    "проверены только встречи."};
    case Rederived::NoSeating:
        break;
    }
    return {FindingKind::NoSeating,
            true,
            round,
            {},
            {},
            tour + "программа не может рассадить этот тур с этими настройками."};
}

} // namespace

int CheckReport::ruleBreaks() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const Finding& f) { return f.breaksRule; }));
}

CheckReport checkTournament(const Tournament& t, const RederiveSettings& settings,
                            const WrittenStandings* written,
                            const std::function<void(int round)>& roundDone) {
    CheckReport report;
    report.roundsSeated = t.currentRound;
    for (int round = 0; round < t.currentRound; ++round) {
        if (settings.cancel && settings.cancel->load()) {
            report.cancelled = true;
            break;
        }
        const RederivedRound redone = rederiveRound(t, round, settings);
        if (settings.cancel && settings.cancel->load()) {
            report.cancelled = true;
            break;
        }
        if (redone.matches())
            ++report.roundsMatching;
        // Repeats the program itself had to make break no rule.
        const bool unavoidable = redone.how == Rederived::FewestRepeats && redone.matches();
        const std::size_t roundStart = report.findings.size();
        addMeetingFindings(t, round, settings.seating.overlapTables, unavoidable, report.findings);
        Finding seating = seatingFinding(round, redone, settings);
        const bool meetingsClean =
            std::none_of(report.findings.begin() + static_cast<std::ptrdiff_t>(roundStart),
                         report.findings.end(), [](const Finding& f) { return f.breaksRule; });
        if (seating.kind == FindingKind::SeatingDiffers &&
            mayBeRandomSearch(t, round, meetingsClean))
            seating.text +=
                " Без повторов и с номерами столов по лучшему игроку — так рассаживает "
                "и подбор, если полный перебор прервали раньше; тогда дайте проверке тот "
                "же предел.";
        report.findings.push_back(std::move(seating));
        addTableFindings(t, round, report.findings);
        if (roundDone)
            roundDone(round);
    }
    addAdjustmentFindings(t, report.findings);
    addStandingFindings(t, written, report.findings);
    return report;
}

} // namespace quelna
