#include "files/rating_rules.h"

#include "core/standings.h"
#include "core/text.h"

namespace quelna {

std::vector<std::string> nameWords(std::string_view utf8) {
    std::vector<std::string> out;
    std::string word;
    for (char c : std::string(utf8) + ' ') {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                out.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    return out;
}

bool isTwoWordName(std::string_view utf8) {
    return nameWords(utf8).size() == 2;
}

bool roundHasResults(const Tournament& t, int round) {
    for (int p = 0; p < t.playerCount; ++p)
        if (t.pointsAt(round, p) != 0)
            return true;
    return false;
}

int roundsPlayed(const Tournament& t) {
    int played = 0;
    for (int r = 0; r < t.currentRound; ++r)
        played += roundHasResults(t, r) ? 1 : 0;
    return played;
}

std::vector<std::string> ratingRuleProblems(const Tournament& t) {
    std::vector<std::string> problems;
    if (t.playerCount < kRatingMinPlayers)
        problems.push_back("Игроков " + std::to_string(t.playerCount) + ", нужно не меньше " +
                           std::to_string(kRatingMinPlayers) + ".");
    if (const int played = roundsPlayed(t); played < kRatingMinRounds)
        problems.push_back("Сыграно туров " + std::to_string(played) + ", нужно не меньше " +
                           std::to_string(kRatingMinRounds) + ".");
    std::vector<int> order;
    std::vector<std::string> places;
    rankPlayers(t, t.roundCount, order, places);
    for (int i = 0; i < t.playerCount; ++i) {
        const std::string name = cp1251ToUtf8(t.names[order[i]]);
        if (!isTwoWordName(name))
            problems.push_back("Место " + std::to_string(i + 1) + ": «" + name +
                               "» — имя не из двух слов (Фамилия Имя).");
    }
    return problems;
}

} // namespace quelna
