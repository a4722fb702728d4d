#include "files/rating_export.h"

#include <algorithm>
#include <string_view>

#include "core/safe_write.h"
#include "core/standings.h"
#include "core/text.h"
#include "files/rating_rules.h"

namespace quelna {

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + '"';
}

int gamesPlayed(const Tournament& t, int player) {
    int games = 0;
    for (int r = 0; r < t.currentRound; ++r)
        if (t.tableAt(r, player) >= 0 && !t.adjustments.substitute(r, player) &&
            roundHasResults(t, r))
            ++games;
    return games;
}

} // namespace

bool ratingExportText(const Tournament& t, std::string& utf8,
                      std::vector<RatingNameProblem>& problems) {
    std::vector<int> order;
    std::vector<std::string> places;
    const bool allEqual = rankPlayers(t, t.roundCount, order, places);
    utf8 = "place,name,scores,games\n";
    problems.clear();
    int place = 1;
    for (int i = 0; i < t.playerCount; ++i) {
        const int p = order[i];
        const int total = t.runningTotal(p, t.roundCount);
        if (i > 0 && !allEqual && total != t.runningTotal(order[i - 1], t.roundCount))
            place = i + 1;
        // The portal splits on single blanks, so the words are written with exactly one.
        const std::vector<std::string> w = nameWords(cp1251ToUtf8(t.names[p]));
        if (w.size() != 2)
            problems.push_back({i + 1, cp1251ToUtf8(t.names[p])});
        // Quotes do not help: spreadsheets take a quoted field's formula all the same, so such a
        // row is never written, not even when the organiser writes other problems as they are.
        if (!w.empty() && std::string_view("=+-@").find(w[0].front()) != std::string_view::npos) {
            problems.push_back({i + 1, cp1251ToUtf8(t.names[p]), RatingNameProblem::Why::Formula});
            continue;
        }
        std::string name;
        for (const std::string& word : w)
            name += (name.empty() ? "" : " ") + word;
        utf8 += std::to_string(place) + ',' + csvField(name) + ',' + std::to_string(total) + ".0," +
                std::to_string(gamesPlayed(t, p)) + '\n';
    }
    return problems.empty();
}

bool exportRatingFile(const Tournament& t, const std::string& path,
                      std::vector<RatingNameProblem>& problems, std::string& error,
                      bool evenWithNameProblems) {
    std::string text;
    const bool clean = ratingExportText(t, text, problems);
    const bool formula = std::any_of(problems.begin(), problems.end(), [](const auto& x) {
        return x.why == RatingNameProblem::Why::Formula;
    });
    if (!clean && (!evenWithNameProblems || formula))
        return false;
    return safeWriteFile(path, text, &error);
}

} // namespace quelna
