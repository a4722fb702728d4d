#pragma once
// What one kind of slide supplies to the show: its layout and its page fill.
#include <memory>

#include "slides/slide_show.h"

namespace quelna {

class SlideContent {
  public:
    virtual ~SlideContent() = default;
    // Creates fonts, bands, labels, frames and lines on the show's monitor; returns pageCount.
    virtual int layout(SlideShow& show) = 0;
    // Writes page `page` into the content cells, or empties them all when show is false.
    virtual void fill(int page, bool show) = 0;
    // Brings what changes by itself (the clock) up to date; the other kinds have nothing.
    virtual void refresh() {}
};

// Seating and RoundResults.
std::unique_ptr<SlideContent> makeTableCards(const Tournament& t, SlideKind kind);
// RoundResultsAndSeating, Standings and TeamStandings.
std::unique_ptr<SlideContent> makeStandingsList(const Tournament& t, SlideKind kind);
// The round clock; clock.clock must not be null.
std::unique_ptr<SlideContent> makeClockSlide(const SlideClock& clock);

QFont slideFont(int characterHeight, bool bold);

} // namespace quelna
