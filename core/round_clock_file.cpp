#include "core/round_clock_file.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "core/ini_file.h"
#include "core/settings.h"

namespace quelna {

namespace {

constexpr const char* kSection = "CLOCK";

// Reads the section and names every value it cannot take.
class ClockSection {
  public:
    ClockSection(const IniFile& ini, std::vector<std::string>* dropped)
        : ini_(ini), dropped_(dropped) {}

    bool has(const char* key) const { return ini_.get(kSection, key).has_value(); }
    std::string text(const char* key) const {
        return ini_.get(kSection, key).value_or(std::string());
    }

    // A whole number within low..high, or def; a present value outside is named.
    long long number(const char* key, long long low, long long high, long long def) {
        if (!has(key))
            return def;
        const std::string t = text(key);
        long long value = 0;
        const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (error != std::errc() || end != t.data() + t.size() || value < low || value > high) {
            drop(key);
            return def;
        }
        return value;
    }

    void drop(const char* key) {
        if (!dropped_)
            return;
        constexpr std::size_t kShown = 40;
        const std::string t = text(key);
        dropped_->push_back(std::string(key) + "=" + t.substr(0, kShown) +
                            (t.size() > kShown ? "..." : ""));
    }

  private:
    const IniFile& ini_;
    std::vector<std::string>* dropped_;
};

// "table:minutes" pairs separated by commas.
std::string extraText(const std::vector<TableExtraTime>& extra) {
    std::string s;
    for (const TableExtraTime& e : extra)
        s += (s.empty() ? "" : ",") + std::to_string(e.table) + ":" + std::to_string(e.minutes);
    return s;
}

// All pairs or nothing: a list with one impossible pair was not written by this program.
bool readExtra(std::vector<TableExtraTime>& extra, const std::string& text, int tables) {
    RoundClock c;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end) {
        int table = 0, minutes = 0;
        auto r = std::from_chars(at, end, table);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ':')
            return false;
        r = std::from_chars(r.ptr + 1, end, minutes);
        if (r.ec != std::errc() || (r.ptr < end && *r.ptr != ','))
            return false;
        if (table < 1 || table > tables || minutes < 1 || minutes > 600 ||
            tableExtra(c, table) != 0)
            return false;
        setTableExtra(c, table, minutes);
        at = r.ptr < end ? r.ptr + 1 : end;
    }
    extra = std::move(c.extra);
    return true;
}

} // namespace

RoundClock loadRoundClock(const std::string& path, ClockTime now, int tableCount,
                          std::vector<std::string>* dropped) {
    const IniFile ini = IniFile::load(path);
    ClockSection s(ini, dropped);
    RoundClock c;
    c.lengthMinutes = static_cast<int>(s.number("LENGTH", 1, 600, kDefaultRoundMinutes));
    c.timeUpNote = singleLineSetting(s.text("NOTE"));
    c.corner = s.number("CORNER", INT_MIN, INT_MAX, 0) != 0;
    c.sound = s.number("SOUND", INT_MIN, INT_MAX, 0) != 0;
    resetClock(c, static_cast<int>(s.number("ROUND", 0, kMaxRounds, 0)));
    // Beyond the span ahead of now a time cannot have been written by this clock; behind now it
    // is a planned start that has served, or a round whose time is up.
    const ClockTime latest =
        now >= kLatestClockTime - kMaxClockSpan ? kLatestClockTime : now + kMaxClockSpan;
    c.startsAt = s.number("STARTS", 0, latest, 0);
    const auto state = static_cast<ClockState>(s.number("STATE", 0, 2, 0));
    if (c.round == 0)
        return c; // no round, no state
    const ClockTime duration = s.number("DURATION", kMinute, kMaxClockSpan, 0);
    if (duration == 0)
        return c; // a stopped clock of the round's length
    // Never more left than the round lasts: the clock's own changes keep it so.
    const ClockTime endsLimit =
        now >= kLatestClockTime - duration ? kLatestClockTime : now + duration;
    const ClockTime endsAt = state == ClockState::Running ? s.number("ENDS", 0, endsLimit, -1) : 0;
    const ClockTime left = state == ClockState::Paused
                               ? s.number("LEFT", -kMaxClockSpan, duration, kMaxClockSpan + 1)
                               : 0;
    std::vector<TableExtraTime> extra;
    const bool extraRead = readExtra(extra, s.text("EXTRA"), tableCount);
    if (!extraRead)
        s.drop("EXTRA");
    if (endsAt < 0 || left > kMaxClockSpan || !extraRead)
        return c; // the round's state as a whole, never half of it
    c.state = state;
    c.duration = duration;
    c.endsAt = endsAt;
    c.left = left;
    c.extra = std::move(extra);
    return c;
}

bool saveRoundClock(const RoundClock& c, const std::string& path) {
    IniFile ini = IniFile::load(path);
    ini.set(kSection, "LENGTH", std::to_string(c.lengthMinutes));
    ini.set(kSection, "NOTE", singleLineSetting(c.timeUpNote));
    ini.set(kSection, "CORNER", c.corner ? "1" : "0");
    ini.set(kSection, "SOUND", c.sound ? "1" : "0");
    ini.set(kSection, "ROUND", std::to_string(c.round));
    ini.set(kSection, "STATE", std::to_string(static_cast<int>(c.state)));
    ini.set(kSection, "DURATION", std::to_string(c.duration));
    ini.set(kSection, "ENDS", std::to_string(c.endsAt));
    ini.set(kSection, "LEFT", std::to_string(c.left));
    ini.set(kSection, "STARTS", std::to_string(c.startsAt));
    ini.set(kSection, "EXTRA", extraText(c.extra));
    return ini.save(path);
}

} // namespace quelna
