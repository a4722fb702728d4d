// Arbitrary bytes as quelna.ini: loading gives values in range, saving and loading again gives
// the same values, and saving twice gives the same file. The same bytes also drive a few IniFile
// set/get operations: a key that was set reads back, and no other key changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/ini_file.h"
#include "core/round_clock.h"
#include "core/round_clock_file.h"
#include "core/settings.h"
#include "fuzz_check.h"

using namespace quelna;

namespace {

// Under TMPDIR, which scripts/fuzz points at a memory file system; removed at exit.
const std::string& scratchPath() {
    static std::string dir;
    static const std::string path = [] {
        dir = (std::filesystem::temp_directory_path() / "quelna-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(dir.data()) != nullptr);
        FUZZ_CHECK(std::atexit([] {
                       std::error_code ignored;
                       std::filesystem::remove_all(dir, ignored);
                   }) == 0);
        return dir + "/quelna.ini";
    }();
    return path;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void checkRanges(const Settings& s) {
    FUZZ_CHECK(s.slideInterval >= 5 && s.slideInterval <= 20);
    FUZZ_CHECK(s.slideTablesX >= 2 && s.slideTablesX <= 4);
    FUZZ_CHECK(s.slideTablesY >= 2 && s.slideTablesY <= 4);
    FUZZ_CHECK(s.slideLines >= 8 && s.slideLines <= 32);
    FUZZ_CHECK(static_cast<int>(s.tournamentTitle.size()) <= kMaxTitleLength);
    FUZZ_CHECK(s.tournamentTitle.find_first_of("\r\n") == std::string::npos);
}

// Known and reported: a title cut at its length limit can end in a blank, which the next load
// trims away (tests/data/fuzz/findings/settings_title_cut_at_blank.ini). Anything else must match.
bool sameTitle(const std::string& first, const std::string& second) {
    if (first == second)
        return true;
    std::string cut = first;
    while (!cut.empty() && (cut.back() == ' ' || cut.back() == '\t'))
        cut.pop_back();
    return static_cast<int>(first.size()) == kMaxTitleLength && second == cut;
}

// The clock's section: whatever it holds, the clock read from it stays within its bounds at any
// moment (the sanitizers catch an overflow on the way), and what is written back reads back
// the same, naming nothing.
void clockRoundTrip() {
    constexpr ClockTime kNow = 1'765'300'000'000;
    const std::string& path = scratchPath();
    RoundClock c = loadRoundClock(path, kNow, 12);
    FUZZ_CHECK(c.duration >= kMinute && c.duration <= kMaxClockSpan);
    FUZZ_CHECK(c.lengthMinutes >= 1 && c.lengthMinutes <= 600);
    for (const TableExtraTime& e : c.extra)
        FUZZ_CHECK(e.table >= 1 && e.table <= 12 && e.minutes >= 1 && e.minutes <= 600);
    for (ClockTime at : {kNow, kNow + kMaxClockSpan, ClockTime{0}, kLatestClockTime}) {
        const ClockReading r = readClock(c, at);
        FUZZ_CHECK(r.gonePermille >= 0 && r.gonePermille <= 1000);
        FUZZ_CHECK(clockDigits(r.left).size() <= 10);
    }
    followRound(c, 3); // a clock of no round keeps no state
    startClock(c, kNow);
    addMinutes(c, 1);
    FUZZ_CHECK(saveRoundClock(c, path));
    std::vector<std::string> dropped;
    const RoundClock back = loadRoundClock(path, kNow, 12, &dropped);
    FUZZ_CHECK(dropped.empty());
    FUZZ_CHECK(back.state == c.state && back.duration == c.duration && back.endsAt == c.endsAt &&
               back.extra.size() == c.extra.size() && back.round == c.round);
}

void checkRulePoints(const Settings& s) {
    for (int v : {s.scoring.startPoints, s.scoring.returnPoints, s.scoring.uma[0], s.scoring.uma[1],
                  s.scoring.uma[2], s.scoring.uma[3], s.substituteResult})
        FUZZ_CHECK(v >= -kMaxRulePoints && v <= kMaxRulePoints);
}

void settingsRoundTrip(const std::uint8_t* data, std::size_t size) {
    const std::string& path = scratchPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        FUZZ_CHECK(out.good());
    }
    Settings first;
    loadSettings(first, path);
    checkRanges(first);
    checkRulePoints(first);
    clockRoundTrip();
    FUZZ_CHECK(saveSettings(first));
    const std::string once = fileBytes(path);

    Settings second;
    loadSettings(second, path);
    checkRanges(second);
    FUZZ_CHECK(sameTitle(first.tournamentTitle, second.tournamentTitle));
    FUZZ_CHECK(second.showOnSecondary == first.showOnSecondary);
    FUZZ_CHECK(second.slideInterval == first.slideInterval);
    FUZZ_CHECK(second.slideTablesX == first.slideTablesX);
    FUZZ_CHECK(second.slideTablesY == first.slideTablesY);
    FUZZ_CHECK(second.slideLines == first.slideLines);
    FUZZ_CHECK(saveSettings(second));
    if (second.tournamentTitle == first.tournamentTitle) {
        FUZZ_CHECK(fileBytes(path) == once);
    } else {
        // The shortened title is stable from here on.
        const std::string twice = fileBytes(path);
        Settings third;
        loadSettings(third, path);
        FUZZ_CHECK(third.tournamentTitle == second.tournamentTitle);
        FUZZ_CHECK(saveSettings(third));
        FUZZ_CHECK(fileBytes(path) == twice);
    }
}

bool sameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (up(a[i]) != up(b[i]))
            return false;
    }
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(std::string s) {
    while (!s.empty() && isBlank(s.back()))
        s.pop_back();
    std::size_t start = 0;
    while (start < s.size() && isBlank(s[start]))
        ++start;
    return s.substr(start);
}

// Names the file format can hold: one line, no brackets or '=', nothing to trim.
bool usableName(const std::string& s) {
    return !s.empty() && s.find_first_of("[]=\r\n") == std::string::npos && !isBlank(s.front()) &&
           !isBlank(s.back());
}

void iniOperations(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    IniFile ini = IniFile::parse(in.ConsumeRandomLengthString(4096));
    std::vector<std::pair<std::string, std::string>> known = {
        {"QUELNA", "TOURNAMENT"}, {"QUELNA", "SECONDARY"}, {"QUELNA", "INTERVAL"},
        {"QUELNA", "TABLESX"},    {"QUELNA", "TABLESY"},   {"QUELNA", "LINES"}};
    const int operations = in.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < operations && in.remaining_bytes() > 0; ++i) {
        std::string section = in.ConsumeRandomLengthString(16);
        std::string key = in.ConsumeRandomLengthString(16);
        std::string value = in.ConsumeRandomLengthString(64);
        (void)ini.getInt(section, key, 7);
        const bool wellFormed = usableName(section) && usableName(key) &&
                                value.find_first_of("\r\n") == std::string::npos;
        std::vector<std::optional<std::string>> before;
        for (const auto& [s, k] : known)
            before.push_back(ini.get(s, k));
        ini.set(section, key, value);
        if (!wellFormed)
            continue;
        FUZZ_CHECK(ini.get(section, key) == trimmed(value));
        for (std::size_t j = 0; j < known.size(); ++j) {
            if (sameAscii(known[j].first, section) && sameAscii(known[j].second, key))
                continue;
            FUZZ_CHECK(ini.get(known[j].first, known[j].second) == before[j]);
        }
        known.emplace_back(std::move(section), std::move(key));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    settingsRoundTrip(data, size);
    iniOperations(data, size);
    return 0;
}
