#pragma once
// How the random search judges a move, in both of its phases: an improvement is always kept; a
// move of equal value after a run of rejections, so the search can drift along a plateau; any
// move after a longer run without improvement, so it can climb out of a local minimum.
namespace quelna {

// A move of equal value is kept after more than this many rejections in a row.
constexpr long long sidewaysThreshold(int players) {
    return players;
}
// Any move is kept after more than this many rejections since the last improvement or uphill
// move.
constexpr long long uphillThreshold(int players) {
    return static_cast<long long>(players) * players;
}

enum class Verdict { Improvement, Sideways, Uphill, Rejected };

class AcceptanceRule {
  public:
    explicit AcceptanceRule(int players)
        : sidewaysAfter_(sidewaysThreshold(players)), uphillAfter_(uphillThreshold(players)) {}

    void start(int value) {
        current_ = value;
        rejectRun_ = 0;
        stall_ = 0;
    }
    int current() const { return current_; }

    // Judges a new value against the current one; a kept move (every verdict but Rejected)
    // leaves the current value at the new one.
    Verdict judge(int value) {
        if (value < current_) {
            current_ = value;
            stall_ = 0;
            rejectRun_ = 0;
            return Verdict::Improvement;
        }
        if (value == current_ && rejectRun_ > sidewaysAfter_) {
            rejectRun_ = 0;
            return Verdict::Sideways;
        }
        if (stall_ > uphillAfter_) {
            current_ = value;
            stall_ = 0;
            return Verdict::Uphill;
        }
        ++rejectRun_;
        ++stall_;
        return Verdict::Rejected;
    }

  private:
    long long sidewaysAfter_;
    long long uphillAfter_;
    int current_ = 0;
    long long rejectRun_ = 0; // rejections since the last improvement or sideways move
    long long stall_ = 0;     // rejections since the last improvement or uphill move
};

} // namespace quelna
