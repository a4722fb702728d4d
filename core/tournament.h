#pragma once
// The one tournament record: players, per-round tables, seats and points, the meeting matrix and
// the team list. Seats, meetings and the current round are derived, never stored.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/adjustments.h"

namespace quelna {


// Team names; team numbers count from 1, 0 means no team.
class TeamList {
  public:
    int count() const { return static_cast<int>(teamNames_.size()); }
    // Name of team number k (1-based); empty for 0 or a number out of range.
    const std::string& name(int k) const;
    // Exact, case-sensitive match; appends a new team when there is none. Empty text gives 0.
    int findOrAdd(std::string_view name);
    // Removes team k; later teams move down one number. The caller renumbers the players.
    void remove(int k);
    void clear() { teamNames_.clear(); }

  private:
    std::vector<std::string> teamNames_;
};

// N x N counts of shared tables; symmetric; team-mates count as having met once.
class MeetingMatrix {
  public:
    explicit MeetingMatrix(int size = 0) : size_(size), cells_(size * size, 0) {}
    int size() const { return size_; }
    int at(int a, int b) const { return cells_[a * size_ + b]; }
    void add(int a, int b) {
        ++cells_[a * size_ + b];
        ++cells_[b * size_ + a];
    }
    void subtract(int a, int b) {
        --cells_[a * size_ + b];
        --cells_[b * size_ + a];
    }
    void zero() { cells_.assign(cells_.size(), 0); }
    const std::vector<int>& cells() const { return cells_; }

  private:
    int size_;
    std::vector<int> cells_;
};

// What a points cell of a seated round holds: a whole number (pointsAt), nothing typed yet, or
// text that is not a whole number, kept as typed while pointsAt holds its leading number.
enum class PointsEntry : unsigned char { Number, Untyped, Text };

// A signed whole number with blanks around it allowed (CP1251 or ASCII text).
bool isWholeNumberText(std::string_view text);

struct Tournament {
    Tournament(int players, int rounds);

    int playerCount;
    int roundCount;
    int currentRound = 0;           // rounds completely seated, 0..roundCount
    std::vector<std::string> names; // CP1251, at most kMaxNameLength bytes (see setName)
    std::vector<int> playerNumber;  // 0-based start number, -1 = none
    std::vector<int> team;          // 1-based team number, 0 = none
    std::vector<int> tableOf;       // [round * playerCount + player], -1 = not seated
    std::vector<int> seatOf;        // [round * playerCount + player], -1 = none
    std::vector<int> points;        // [round * playerCount + player]
    std::vector<PointsEntry> entries;      // [round * playerCount + player]
    std::map<int, std::string> typedTexts; // by index, the text of every PointsEntry::Text cell
    MeetingMatrix meetings;
    TeamList teams;
    Adjustments adjustments; // substitutes, penalties, players who left

    int tableCount() const { return playerCount / 4; }
    int index(int round, int player) const { return round * playerCount + player; }
    int& tableAt(int round, int player) { return tableOf[index(round, player)]; }
    int tableAt(int round, int player) const { return tableOf[index(round, player)]; }
    int& seatAt(int round, int player) { return seatOf[index(round, player)]; }
    int seatAt(int round, int player) const { return seatOf[index(round, player)]; }
    int& pointsAt(int round, int player) { return points[index(round, player)]; }
    int pointsAt(int round, int player) const { return points[index(round, player)]; }
    // What counts for the player in the round (pointsAt holds the real table result).
    int countedPointsAt(int round, int player) const {
        return adjustments.counted(round, player, pointsAt(round, player));
    }

    PointsEntry entryAt(int round, int player) const { return entries[index(round, player)]; }
    // The text of a Text cell; empty for the others.
    const std::string& typedTextAt(int round, int player) const;
    // Stores a cell as typed (CP1251): empty text is not typed (0 points), a whole number is that
    // number, anything else is kept as text and counts its leading number.
    void typePoints(int round, int player, std::string_view typed);
    // Stores a number for the player's seat, as the final-score entry and the generators do.
    void setNumberAt(int round, int player, int value);
    // Every cell of the round becomes not typed, with 0 points (a round just seated).
    void markRoundUntyped(int round);
    // True when the round has a cell that is not typed, or one that is not a whole number.
    bool hasUntyped(int round) const;
    bool hasText(int round) const;

    // Stores a name through sanitizeName, so the record never holds an unsafe or long name.
    void setName(int player, std::string_view cp1251);

    void clear();
    void addMeeting(int a, int b) { meetings.add(a, b); }
    // Team-mates zeroed and counted once (the state before round 1).
    void rebuildMeetings();
    // The matrix as it stands before `round` is seated: team-mates once, plus one for every table
    // two players shared in rounds 0..round-1.
    MeetingMatrix meetingsBefore(int round) const;
    int runningTotal(int player, int rounds) const;
    // Lowest player at (round, table, seat), or -1; any out-of-range argument gives -1.
    int playerAt(int round, int table, int seat) const;
    // Does nothing when no player sits there.
    void setPoints(int round, int table, int seat, int value);
    void setRegistration(int row, std::string_view name, std::string_view teamName, int number);
    bool hasCompleteNumbering() const;
    void normalizeRounds();
    void assignSeats(int round);
    void purgeUnusedTeams();
    // True when every table 0..T-1 of the round has exactly four players.
    bool isRoundComplete(int round) const;
};

// Players placed by hand in the round fit its tables: each on a table that exists, at most four
// at a table. The first player who does not fit, or -1.
int firstMisplacedPlayer(const Tournament& t, int round);

} // namespace quelna
