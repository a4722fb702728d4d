#pragma once
// How whoever runs a seating steers it: the organiser's "move on" and "give up", and the clock of
// each phase's limits in seconds and in variants. The front end supplies the seconds (the
// dialog's timer, the command line's watcher thread); the engine's notifications supply phases
// and variants. Safe to call from both threads.
#include <atomic>
#include <mutex>

namespace quelna {

struct PhaseLimits {
    long long exhaustiveSeconds = 60; // 0 = no limit
    long long randomSeconds = 60;     // each of the two random phases
    long long exhaustiveVariants = 0; // 0 = no limit
    long long randomVariants = 0;
};

enum class SeatingPhase { Exhaustive, Random, Improve };

class SeatingControl {
  public:
    explicit SeatingControl(const PhaseLimits& limits = {});

    // "Далее": end this phase (once; ignored after a cancel). The engine moves on, or in the last
    // phase keeps the best seating found.
    void requestSwitch();
    // Give up: the engine stops and the seating is undone, whatever it reached.
    void requestCancel();
    // One second of the current phase: the second after its limit moves the engine on.
    void secondPassed();

    bool stopRequested() const { return stop_.load(); }
    bool switchRequested() const { return switch_.load(); }
    bool cancelRequested() const { return cancel_.load(); }
    // A switch has a use now: in the exhaustive and the improve phase, until one was asked for.
    bool switchOffered() const;
    SeatingPhase phase() const;
    long long secondsElapsed() const;
    long long secondLimit() const; // of the current phase; 0 = none

    // The engine's side.
    std::atomic<bool>* stopFlag() { return &stop_; }
    std::atomic<bool>* switchFlag() { return &switch_; }
    void startPhase(SeatingPhase phase);
    void restartClock();
    // Counts one variant of the phase; the phase's variant limit moves the engine on.
    long long countVariant();
    void resetVariants();
    long long variantsInPhase() const { return phaseVariants_.load(); }
    long long variantsInAll() const { return allVariants_.load(); }

  private:
    void raiseSwitch(); // under mutex_
    // A phase starting after a cancel: the engine has just cleared the stop flag, raise it again.
    void keepCancelled();

    const PhaseLimits limits_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> switch_{false};
    std::atomic<bool> cancel_{false};
    std::atomic<long long> phaseVariants_{0};
    std::atomic<long long> allVariants_{0};
    std::atomic<SeatingPhase> phase_{SeatingPhase::Exhaustive};
    mutable std::mutex mutex_;
    long long elapsed_ = 0;
    bool switchOffered_ = true;
};

} // namespace quelna
