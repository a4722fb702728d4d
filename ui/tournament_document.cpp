#include "ui/tournament_document.h"

#include <algorithm>

#include "core/random.h"
#include "core/table_state.h"
#include "core/test_data.h"
#include "gui/qt_text.h"

namespace quelna {

TournamentDocument::TournamentDocument(Tournament& t, QObject* parent) : QObject(parent), t_(t) {}

void TournamentDocument::reload() {
    t_.normalizeRounds();
    adoptZeroRoundAsUntyped(t_);
    emit reset();
}

bool TournamentDocument::load(const std::function<bool(Tournament&)>& read) {
    if (!read(t_))
        return false;
    reload();
    return true;
}

void TournamentDocument::registerPlayer(int player, const QString& name, const QString& teamName,
                                        int number) {
    if (player < 0 || player >= t_.playerCount || t_.currentRound > 0)
        return;
    t_.setRegistration(player, toRecord(name), toRecord(teamName), number);
    t_.purgeUnusedTeams();
    emit playersChanged();
}

void TournamentDocument::generateNames() {
    generateRandomNames(t_, runRandom());
    reload();
}

void TournamentDocument::generateTeams() {
    generateRandomTeams(t_, runRandom());
    reload();
}

void TournamentDocument::renamePlayer(int player, const QString& name) {
    if (player < 0 || player >= t_.playerCount)
        return;
    t_.setName(player, toRecord(name));
    emit nameChanged(player);
}

void TournamentDocument::typePoints(int round, int position, const QString& typed) {
    if (round < 0 || round >= t_.currentRound || position < 0 || position >= t_.playerCount)
        return;
    const int p = t_.playerAt(round, position / 4, position % 4);
    if (p < 0)
        return;
    t_.typePoints(round, p, toRecord(typed));
    emit pointsChanged(round, position / 4);
}

void TournamentDocument::enterTableResults(int round, int table, const std::vector<int>& results) {
    if (round < 0 || round >= t_.currentRound)
        return;
    for (int s = 0; s < 4 && s < static_cast<int>(results.size()); ++s)
        t_.setPoints(round, table, s, results[s]);
    emit pointsChanged(round, table);
}

void TournamentDocument::generateResults(int round) {
    if (round < 0 || round >= t_.currentRound)
        return;
    generateRandomResults(t_, round, runRandom());
    emit pointsChanged(round, -1);
}

void TournamentDocument::setSubstitute(int round, int player, Substitute s, bool leftForGood) {
    t_.adjustments.setSubstitute(round, player, std::move(s));
    t_.adjustments.setLeftFrom(player, leftForGood ? round : -1);
    emit pointsChanged(round, t_.tableAt(round, player));
}

void TournamentDocument::clearSubstitute(int round, int player) {
    t_.adjustments.clearSubstitute(round, player);
    t_.adjustments.setLeftFrom(player, -1);
    emit pointsChanged(round, t_.tableAt(round, player));
}

void TournamentDocument::setPenalties(int round, int player, std::vector<Penalty> list) {
    t_.adjustments.setPenalties(round, player, std::move(list));
    emit pointsChanged(round, t_.tableAt(round, player));
}

void TournamentDocument::placeByHand(int player, int table, int seat) {
    const int c = t_.currentRound;
    if (c <= 0 || c >= t_.roundCount)
        return;
    t_.tableAt(c, player) = table;
    t_.seatAt(c, player) = seat;
}

void TournamentDocument::unplaceByHand(int player) {
    const int c = t_.currentRound;
    if (c <= 0 || c >= t_.roundCount)
        return;
    t_.tableAt(c, player) = -1;
    t_.seatAt(c, player) = -1;
}

void TournamentDocument::commitSeating(const Tournament& seated) {
    const int round = t_.currentRound;
    t_ = seated;
    t_.normalizeRounds();
    if (t_.currentRound > round)
        t_.markRoundUntyped(round);
    emit reset();
}

} // namespace quelna
