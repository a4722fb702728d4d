#pragma once
// Results for the federation's rating portal: UTF-8 without a byte-order mark, comma-separated,
// header place,name,scores,games; every registered player in standings order, a shared place
// given as the first position of its group, the total with a decimal point, and the games the
// player played himself (not those a substitute played for him).
#include <string>
#include <vector>

#include "core/tournament.h"

namespace quelna {

struct RatingNameProblem {
    enum class Why {
        NotTwoWords, // the portal wants "Фамилия Имя"
        Formula,     // begins with = + - or @, which a spreadsheet opening the file would run
    };
    int position = 0; // 1-based row of the standings
    std::string name; // UTF-8, as typed
    Why why = Why::NotTwoWords;
};

// The file's text with every player but those whose name a spreadsheet would take as a formula,
// and false with the rows whose name is not two words ("Фамилия Имя", which the portal refuses)
// or would be taken as a formula.
[[nodiscard]] bool ratingExportText(const Tournament& t, std::string& utf8,
                                    std::vector<RatingNameProblem>& problems);

// Writes the file through the safe write. False with the reason in error, or with problems
// filled (nothing written) when some name is not two words, unless asked to write it even so,
// or would be taken as a formula, which is never written.
[[nodiscard]] bool exportRatingFile(const Tournament& t, const std::string& path,
                                    std::vector<RatingNameProblem>& problems, std::string& error,
                                    bool evenWithNameProblems = false);

} // namespace quelna
