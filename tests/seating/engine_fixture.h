#pragma once
// Shared helpers of the engine tests: a job that records what the engine tells it.
#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/random.h"
#include "core/tournament.h"
#include "seating/seating_driver.h"
#include "seating/seating_job.h"
#include "support/played_tournament.h"

namespace quelna::test {

using Tables = std::vector<std::vector<int>>;

class EngineTest : public ::testing::Test {};

// A job with no fixed and no overlap tables unless a test sets them in job.options, and a
// generator of its own for the random search.
struct RecordingJob {
    std::atomic<bool> switchFlag{false};
    std::atomic<bool> stopFlag{false};
    Random random{1};
    SeatingJob job;
    std::vector<std::string> events; // every notification but onVariant, in order
    std::vector<int> factors;        // values passed to onFactor
    long long variants = 0;          // onVariant calls in total
    long long variantsBeforeImprove = -1;

    explicit RecordingJob(int round) {
        job.round = round;
        job.random = &random;
        job.switchFlag = &switchFlag;
        job.stopFlag = &stopFlag;
        job.onTablesFilled = [this](SeatingJob& j, int n) {
            j.maxTables = n;
            events.push_back("tables " + std::to_string(n));
        };
        job.onFactor = [this](SeatingJob& j, int v) {
            j.lastFactor = v;
            factors.push_back(v);
            events.push_back("factor");
        };
        job.onVariant = [this](SeatingJob& j) {
            ++j.variants;
            ++variants;
        };
        job.onRandomStart = [this](SeatingJob&) { events.push_back("random"); };
        job.onImproveStart = [this](SeatingJob&) {
            variantsBeforeImprove = variants;
            events.push_back("improve");
        };
        job.onTimerReset = [this](SeatingJob&) { events.push_back("timer"); };
        job.onVariantsReset = [this](SeatingJob& j) {
            j.variants = 0;
            events.push_back("variants");
        };
    }
    RecordingJob(const RecordingJob&) = delete;
    RecordingJob& operator=(const RecordingJob&) = delete;

    void requestSwitch() {
        switchFlag = true;
        stopFlag = true;
    }
};

// Seats the listed players at tables 0, 1, ... of the round.
inline void seatTables(Tournament& t, int round, const Tables& tables) {
    for (int x = 0; x < static_cast<int>(tables.size()); ++x)
        for (int p : tables[x])
            t.tableAt(round, p) = x;
}

inline std::vector<int> roundTables(const Tournament& t, int round) {
    return {t.tableOf.begin() + t.index(round, 0), t.tableOf.begin() + t.index(round + 1, 0)};
}

// Players of each table in ascending index, tables in order.
inline Tables tablesOf(const Tournament& t, int round) {
    Tables tables(t.tableCount());
    for (int p = 0; p < t.playerCount; ++p)
        if (t.tableAt(round, p) >= 0)
            tables[t.tableAt(round, p)].push_back(p);
    return tables;
}

// Sum of meetings over the pairs sharing a table in the round.
inline int roundMeetingSum(const Tournament& t, int round) {
    int sum = 0;
    for (int a = 0; a < t.playerCount; ++a)
        for (int b = a + 1; b < t.playerCount; ++b)
            if (t.tableAt(round, a) != -1 && t.tableAt(round, a) == t.tableAt(round, b))
                sum += t.meetings.at(a, b);
    return sum;
}

inline std::vector<int> totalsBefore(const Tournament& t, int round) {
    std::vector<int> totals(t.playerCount);
    for (int p = 0; p < t.playerCount; ++p)
        totals[p] = t.runningTotal(p, round);
    return totals;
}

// A tournament with `played` rounds seated by the engine and given random results.
using test_support::playedTournament;
using test_support::Seed;
using test_support::Teams;
using test_support::withTeams;

} // namespace quelna::test
