#pragma once
// A check's report as a referee reads it (Russian, one line per finding, a summary at the end)
// and as programs read it (JSON). The fairness figures in words, for both and for the window.
#include <string>
#include <vector>

#include "audit/fairness.h"
#include "audit/tournament_check.h"

namespace quelna {

// One line per figure (UTF-8), each beside what the field allows.
std::vector<std::string> fairnessLines(const FairnessFigures& f);

// "Итого: ..." (UTF-8).
std::string checkSummaryLine(const CheckReport& report);

// The findings, a line each (those that break a rule marked), the fairness lines, the summary.
std::string checkReportText(const CheckReport& report, const FairnessFigures& fairness);

// {"roundsSeated":..,"roundsMatching":..,"ruleBreaks":..,"fairness":{..},"findings":[..]}; the
// players of a finding by start number.
std::string checkReportJson(const Tournament& t, const CheckReport& report,
                            const FairnessFigures& fairness);

} // namespace quelna
