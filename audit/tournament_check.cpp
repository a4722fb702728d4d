#include "audit/tournament_check.h"

#include <algorithm>
#include <string>

#include "audit/round_rules.h"
#include "audit/standings_rules.h"

namespace quelna {

namespace {

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
        addMeetingFindings(t, round, settings.seating.overlapTables, unavoidable, report.findings);
        report.findings.push_back(seatingFinding(round, redone, settings));
        addTableFindings(t, round, report.findings);
        if (roundDone)
            roundDone(round);
    }
    addAdjustmentFindings(t, report.findings);
    addStandingFindings(t, written, report.findings);
    return report;
}

} // namespace quelna
