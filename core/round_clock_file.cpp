#include "core/round_clock_file.h"

#include <algorithm>
#include <charconv>

#include "core/ini_file.h"
#include "core/settings.h"

namespace quelna {

namespace {

constexpr const char* kSection = "CLOCK";

// The times are milliseconds since the epoch, past what the profile's integers hold.
ClockTime getTime(const IniFile& ini, const char* key) {
    const std::string text = ini.get(kSection, key).value_or(std::string());
    ClockTime value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// "table:minutes" pairs separated by commas.
std::string extraText(const std::vector<TableExtraTime>& extra) {
    std::string s;
    for (const TableExtraTime& e : extra)
        s += (s.empty() ? "" : ",") + std::to_string(e.table) + ":" + std::to_string(e.minutes);
    return s;
}

void readExtra(RoundClock& c, const std::string& text) {
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end) {
        int table = 0, minutes = 0;
        auto r = std::from_chars(at, end, table);
        if (r.ec != std::errc() || r.ptr == end || *r.ptr != ':')
            return;
        r = std::from_chars(r.ptr + 1, end, minutes);
        if (r.ec != std::errc())
            return;
        if (table >= 1 && minutes >= 1 && minutes <= 600)
            setTableExtra(c, table, minutes);
        at = r.ptr < end && *r.ptr == ',' ? r.ptr + 1 : end;
    }
}

} // namespace

RoundClock loadRoundClock(const std::string& path) {
    const IniFile ini = IniFile::load(path);
    RoundClock c;
    const int length = ini.getInt(kSection, "LENGTH", kDefaultRoundMinutes);
    c.lengthMinutes = length >= 1 && length <= 600 ? length : kDefaultRoundMinutes;
    c.timeUpNote = singleLineSetting(ini.get(kSection, "NOTE").value_or(std::string()));
    c.corner = ini.getInt(kSection, "CORNER", 0) != 0;
    c.sound = ini.getInt(kSection, "SOUND", 0) != 0;
    resetClock(c, std::max(0, ini.getInt(kSection, "ROUND", 0)));
    c.startsAt = std::max<ClockTime>(0, getTime(ini, "STARTS"));
    const int state = ini.getInt(kSection, "STATE", 0);
    const ClockTime duration = getTime(ini, "DURATION");
    if (c.round == 0 || state < 0 || state > 2 || duration < kMinute)
        return c;
    c.duration = duration;
    c.state = static_cast<ClockState>(state);
    c.endsAt = getTime(ini, "ENDS");
    c.left = getTime(ini, "LEFT");
    readExtra(c, ini.get(kSection, "EXTRA").value_or(std::string()));
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
