#include "seating/seating_control.h"

namespace quelna {

SeatingControl::SeatingControl(const PhaseLimits& limits) : limits_(limits) {}

void SeatingControl::raiseSwitch() {
    switchOffered_ = false;
    if (cancel_)
        return;
    switch_ = true;
    stop_ = true;
}

void SeatingControl::requestSwitch() {
    std::lock_guard lock(mutex_);
    raiseSwitch();
}

void SeatingControl::requestCancel() {
    std::lock_guard lock(mutex_);
    cancel_ = true;
    stop_ = true;
    // A switch after a cancel would send the engine into another phase nobody waits for.
    switchOffered_ = false;
}

void SeatingControl::secondPassed() {
    std::lock_guard lock(mutex_);
    const long long limit = phase_ == SeatingPhase::Exhaustive ? limits_.exhaustiveSeconds
                                                                : limits_.randomSeconds;
    if (limit <= 0)
        return;
    if (elapsed_ == limit) {
        ++elapsed_;
        raiseSwitch();
    } else if (elapsed_ < limit) {
        ++elapsed_;
    }
}

bool SeatingControl::switchOffered() const {
    std::lock_guard lock(mutex_);
    return switchOffered_;
}

SeatingPhase SeatingControl::phase() const {
    return phase_;
}

long long SeatingControl::secondsElapsed() const {
    std::lock_guard lock(mutex_);
    return elapsed_;
}

long long SeatingControl::secondLimit() const {
    std::lock_guard lock(mutex_);
    return phase_ == SeatingPhase::Exhaustive ? limits_.exhaustiveSeconds : limits_.randomSeconds;
}

void SeatingControl::keepCancelled() {
    if (cancel_)
        stop_ = true;
}

void SeatingControl::startPhase(SeatingPhase phase) {
    std::lock_guard lock(mutex_);
    phase_ = phase;
    elapsed_ = 0;
    // The repair phase has no best seating to take early; the improve phase has.
    switchOffered_ = phase != SeatingPhase::Random && !cancel_;
    keepCancelled();
}

void SeatingControl::restartClock() {
    std::lock_guard lock(mutex_);
    elapsed_ = 0;
    keepCancelled();
}

long long SeatingControl::countVariant() {
    const long long n = phaseVariants_.fetch_add(1, std::memory_order_relaxed) + 1;
    allVariants_.fetch_add(1, std::memory_order_relaxed);
    const long long limit = phase_ == SeatingPhase::Exhaustive ? limits_.exhaustiveVariants
                                                               : limits_.randomVariants;
    if (limit > 0 && n >= limit) {
        std::lock_guard lock(mutex_);
        raiseSwitch();
    }
    return n;
}

void SeatingControl::resetVariants() {
    phaseVariants_ = 0;
}

} // namespace quelna
