#pragma once
// The round clock on the slides: what the show reads of it, the layout of the clock slide and
// the small clock in a corner of the other slides.
#include <QList>
#include <QRect>
#include <QString>
#include <functional>

#include "core/round_clock.h"

class QAction;
class QColor;
class QFont;

namespace quelna {

struct SlideClock {
    const RoundClock* clock = nullptr; // null: the show has no clock
    std::function<ClockTime()> now = wallClockNow;
    // The clock's commands, so that their keys work while the slides are shown.
    QList<QAction*> keys;
};

// Positions of the clock slide's labels in the show's content labels.
enum ClockSlideLabel {
    kClockHeadline = 0, // "До начала тура", "Пауза"
    kClockDigits = 1,
    kClockTimeUp = 2, // the fixed time-up text
    kClockNote = 3,   // the organiser's second line
    kClockTables = 4  // first of the extra-time tables
};
inline constexpr int kClockTableCells = 6;

inline constexpr char16_t kTimeUpText[] = u"Время вышло — доигрывается текущая раздача";

// The largest font of family and weight of `base` in which text fits rect whole.
QFont fittingFont(const QFont& base, const QString& text, const QRect& rect);

// The digits of the time left (or to the start).
QString clockDigitsText(const ClockReading& r);
// Digits and text once the time is up.
QColor timeUpColour();

} // namespace quelna
