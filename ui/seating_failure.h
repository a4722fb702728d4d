#pragma once
// What the organiser is told when a round could not be seated.
class QWidget;

namespace quelna {

struct Tournament;

// Shows the failure message. When no seating without repeat meetings exists, the same message
// offers the seating with the fewest; if the organiser takes it, the next round is seated so and
// its repeat pairs are listed. True when the round was seated.
bool reportSeatingFailure(QWidget* parent, Tournament& t, bool noSeatingExists);

} // namespace quelna
