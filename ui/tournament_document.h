#pragma once
// The tournament the window works on. It is the only way the window changes the record: every
// edit is one named operation, and each says what it changed, so that the grid, the slides, the
// players' page, the print menu, the autosave and the clock follow it. Views read the record
// through tournament() and never write it.
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "core/adjustments.h"
#include "core/tournament.h"

namespace quelna {

class TournamentDocument : public QObject {
    Q_OBJECT
  public:
    // The record lives as long as the document; whoever made it no longer writes it.
    TournamentDocument(Tournament& t, QObject* parent = nullptr);

    const Tournament& tournament() const { return t_; }
    int currentRound() const { return t_.currentRound; }

    // The record as a whole was replaced (a file read, a record handed in): seats and rounds are
    // derived again, and a latest round of zeros without typed state counts as not typed.
    void reload();
    // Reads a file through read (which reports whether it replaced the record), then reload().
    bool load(const std::function<bool(Tournament&)>& read);

    // Registration, before the first seating.
    void registerPlayer(int player, const QString& name, const QString& teamName, int number);
    void generateNames();
    void generateTeams();
    // A player's name after the first round: nothing else of him changes.
    void renamePlayer(int player, const QString& name);

    // A points cell of a seated round as typed: empty, a whole number or any other text.
    void typePoints(int round, int position, const QString& typed);
    // The four results of a table, as the final-score entry computed them; nothing else changes.
    void enterTableResults(int round, int table, const std::vector<int>& results);
    void generateResults(int round);

    void setSubstitute(int round, int player, Substitute s, bool leftForGood);
    void clearSubstitute(int round, int player);
    void setPenalties(int round, int player, std::vector<Penalty> list);

    // Manual placement of the next round.
    void placeByHand(int player, int table, int seat);
    void unplaceByHand(int player);

    // A seating run on a copy of the record: the copy, seated, replaces the record; the new
    // round's cells are not typed yet.
    void commitSeating(const Tournament& seated);

  signals:
    // Anything may have changed: views show the record anew.
    void reset();
    // The registration changed (names, teams, numbers) before the first seating.
    void playersChanged();
    // Points or adjustments of a round changed; table < 0 means any table of it.
    void pointsChanged(int round, int table);
    // A player's name changed.
    void nameChanged(int player);

  private:
    Tournament& t_;
};

} // namespace quelna
