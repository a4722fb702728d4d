#include "files/tournament_extras.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <map>

#include "core/text.h"

namespace quelna {

namespace {

struct Words {
    std::string marker, substitute, penalty, left;
};

const Words& words() {
    static const Words w{utf8ToCp1251("ЗАМЕНЫ_И_ШТРАФЫ"), utf8ToCp1251("ЗАМЕНА"),
                         utf8ToCp1251("ШТРАФ"), utf8ToCp1251("ВЫБЫЛ")};
    return w;
}

std::vector<std::string_view> splitFields(std::string_view line, std::size_t maxFields) {
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < maxFields) {
        const std::size_t semi = line.find(';');
        if (semi == std::string_view::npos)
            break;
        fields.push_back(line.substr(0, semi));
        line.remove_prefix(semi + 1);
    }
    fields.push_back(line);
    return fields;
}

bool parseInt(std::string_view field, int& value) {
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size();
}

std::string num(int v) {
    return std::to_string(v);
}

} // namespace

bool isExtrasMarker(std::string_view line) {
    return line == words().marker;
}

std::string_view extrasSection(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (isExtrasMarker(line))
            return bytes;
    }
    return {};
}

std::string tournamentExtrasText(const Tournament& t, const std::vector<int>& rowOf) {
    const Adjustments& a = t.adjustments;
    if (a.empty())
        return {};
    std::string text = words().marker + "\r\n";
    for (const auto& [key, s] : a.allSubstitutes()) {
        const auto [round, player] = key;
        text += words().substitute + ';' + num(round + 1) + ';' + num(rowOf[player]) + ';' +
                num(t.pointsAt(round, player)) + ';' + num(s.countedResult) + ';' +
                sanitizeName(s.name) + "\r\n";
    }
    for (const auto& [key, list] : a.allPenalties())
        for (const Penalty& p : list)
            text += words().penalty + ';' + num(key.first + 1) + ';' + num(rowOf[key.second]) +
                    ';' + num(p.amount) + ';' + sanitizeName(p.reason) + "\r\n";
    for (const auto& [player, round] : a.allLeft())
        text += words().left + ';' + num(rowOf[player]) + ';' + num(round + 1) + "\r\n";
    return text;
}

std::vector<int> readTournamentExtras(Tournament& t, std::string_view section) {
    std::vector<int> unusable;
    Adjustments read;
    std::map<Adjustments::Key, int> realResults;
    // Round and row as the file writes them (1-based) to record indices; false when out of range.
    auto place = [&t](std::string_view roundField, std::string_view rowField, int& round,
                      int& player) {
        if (!parseInt(roundField, round) || !parseInt(rowField, player) || round < 1 ||
            round > t.roundCount || player < 1 || player > t.playerCount)
            return false;
        --round;
        --player;
        return true;
    };
    int lineNumber = 0;
    while (!section.empty()) {
        const std::size_t end = section.find('\n');
        std::string_view line = section.substr(0, end);
        section.remove_prefix(end == std::string_view::npos ? section.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const std::vector<std::string_view> f = splitFields(line, 6);
        int round = 0, player = 0, a = 0, b = 0;
        bool used = false;
        if (f[0] == words().substitute && f.size() == 6) {
            used = place(f[1], f[2], round, player) && parseInt(f[3], a) && parseInt(f[4], b);
            if (used) {
                read.setSubstitute(round, player, Substitute{sanitizeName(f[5]), b});
                realResults[{round, player}] = a;
            }
        } else if (f[0] == words().penalty && f.size() >= 5) {
            const std::vector<std::string_view> g = splitFields(line, 5);
            used = place(g[1], g[2], round, player) && parseInt(g[3], a);
            if (used)
                read.addPenalty(round, player, Penalty{a, sanitizeName(g[4])});
        } else if (f[0] == words().left && f.size() == 3) {
            used = place(f[2], f[1], round, player);
            if (used)
                read.setLeftFrom(player, round);
        }
        if (!used)
            unusable.push_back(lineNumber);
    }
    // The points columns hold what counted; the seat's table result is what the record keeps.
    for (const auto& [key, list] : read.allPenalties())
        if (!read.substitute(key.first, key.second)) {
            long long real = t.pointsAt(key.first, key.second);
            for (const Penalty& p : list)
                real -= p.amount;
            t.pointsAt(key.first, key.second) =
                static_cast<int>(std::clamp<long long>(real, INT_MIN, INT_MAX));
        }
    for (const auto& [key, real] : realResults)
        t.pointsAt(key.first, key.second) = real;
    t.adjustments = std::move(read);
    return unusable;
}

} // namespace quelna
