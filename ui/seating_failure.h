#pragma once
// What the organiser is told when a round could not be seated.
class QWidget;

namespace quelna {

struct Tournament;

// Shows the failure message. When no seating without repeat meetings exists, the same message
// offers the seating with the fewest; if the organiser takes it, the round is seated so and its
// repeat pairs are listed. True when the round was seated. The meeting matrix must hold the
// earlier rounds only.
bool reportSeatingFailure(QWidget* parent, Tournament& t, int round, bool noSeatingExists);

} // namespace quelna
