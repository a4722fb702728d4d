#pragma once
// What the organiser is told when a round could not be seated.
#include <vector>

class QWidget;

namespace quelna {

struct RepeatPair;
struct Tournament;

// Shows the failure message. When no seating without repeat meetings exists, the same message
// offers the seating with the fewest. True when the organiser took it.
bool offerSeatingWithRepeats(QWidget* parent, bool noSeatingExists);

// Lists the repeat pairs of a round seated with the fewest repeat meetings.
void showRepeatPairs(QWidget* parent, const Tournament& t, const std::vector<RepeatPair>& pairs);

} // namespace quelna
