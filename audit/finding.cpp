#include "audit/finding.h"

#include "core/text.h"

namespace quelna {

const char* findingKindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::RepeatPair:
        return "repeat-pair";
    case FindingKind::TeamMates:
        return "team-mates";
    case FindingKind::SeatingMatches:
        return "seating-matches";
    case FindingKind::SeatingDiffers:
        return "seating-differs";
    case FindingKind::SeatingNotRedone:
        return "seating-not-redone";
    case FindingKind::NoSeating:
        return "no-seating";
    case FindingKind::TableSum:
        return "table-sum";
    case FindingKind::TableNotTyped:
        return "table-not-typed";
    case FindingKind::Substitute:
        return "substitute";
    case FindingKind::Penalty:
        return "penalty";
    case FindingKind::TotalDiffers:
        return "total-differs";
    case FindingKind::PlaceDiffers:
        return "place-differs";
    case FindingKind::Standing:
        return "standing";
    }
    return "";
}

std::string playerLabel(const Tournament& t, int player) {
    const int number = t.playerNumber[player];
    return (number >= 0 ? std::to_string(number + 1) + " " : std::string()) +
           cp1251ToUtf8(t.names[player]);
}

std::string numbersFromOne(const std::vector<int>& zeroBased) {
    std::string text;
    for (std::size_t i = 0; i < zeroBased.size(); ++i)
        text += (i > 0 ? ", " : "") + std::to_string(zeroBased[i] + 1);
    return text;
}

} // namespace quelna
