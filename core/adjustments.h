#pragma once
// What the table's points alone do not say: substitutes who played a seat for a registered
// player, penalties taken from a player's total, and players who have left for good. The points
// array keeps the real table results (the zero-sum check uses them); what counts for a player is
// decided here and nowhere else.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace quelna {

struct Tournament;

// The counted result of a registered player whose seat a substitute played.
inline constexpr int kDefaultSubstituteResult = -30000;

struct Substitute {
    std::string name; // CP1251, may be empty
    int countedResult = kDefaultSubstituteResult;
    bool operator==(const Substitute&) const = default;
};

struct Penalty {
    int amount = 0;     // signed; a penalty is normally negative
    std::string reason; // CP1251
    bool operator==(const Penalty&) const = default;
};

class Adjustments {
  public:
    bool empty() const { return substitutes_.empty() && penalties_.empty() && left_.empty(); }
    void clear();
    // Forgets every substitute and penalty of round `round` and later (rounds no longer seated).
    void dropFrom(int round);

    // What counts for the player in the round, given the table result typed for the seat: the
    // substitute's fixed result in place of the table result, plus every penalty.
    int counted(int round, int player, int tableResult) const;

    const Substitute* substitute(int round, int player) const;
    void setSubstitute(int round, int player, Substitute s);
    void clearSubstitute(int round, int player);

    const std::vector<Penalty>& penalties(int round, int player) const;
    void addPenalty(int round, int player, Penalty p);
    // Replaces the round's penalties of the player; an empty list removes them.
    void setPenalties(int round, int player, std::vector<Penalty> list);
    // Sum of the player's penalties in rounds 0..rounds-1, saturated to the 32-bit range.
    int penaltyTotal(int player, int rounds) const;

    // The first round a player who left for good no longer plays; -1 while he plays.
    int leftFrom(int player) const;
    void setLeftFrom(int player, int round); // round < 0 clears the mark

    using Key = std::pair<int, int>; // (round, player)
    const std::map<Key, Substitute>& allSubstitutes() const { return substitutes_; }
    const std::map<Key, std::vector<Penalty>>& allPenalties() const { return penalties_; }
    const std::map<int, int>& allLeft() const { return left_; }

    bool operator==(const Adjustments&) const = default;

  private:
    std::map<Key, Substitute> substitutes_;
    std::map<Key, std::vector<Penalty>> penalties_;
    std::map<int, int> left_; // player -> first round missed
};

// How a seat shows the substitute: "→ замена: name" (UTF-8), or "→ замена" without a name.
std::string substituteNote(const Substitute& s);

// A name as seat lists of the round show it (UTF-8): "Иванов И. → замена: Петров П." for a
// player whose seat a substitute played.
std::string seatNameUtf8(const Tournament& t, int round, int player);

// The total over rounds 0..rounds-1 as standings show it: "*" after a total that holds penalties.
std::string standingsTotalText(const Tournament& t, int player, int rounds);

// A player who left for good gets a substitute in every round seated from then on: the one of
// his latest substitute's name, counting fixedResult. Called once a round has been seated.
void proposeSubstitutes(Tournament& t, int round, int fixedResult);

} // namespace quelna
