#pragma once
// The rating portal's own rules for reading an uploaded results file, as a Python script: strict
// UTF-8 without a byte-order mark, csv.DictReader, an integer place, a name of two words, a score
// with a decimal point. Given the file's path as its first argument (python3 script FILE, or
// python3 -c RULES FILE), it prints place|name|scores|games for each row and fails at the first
// thing the portal would refuse.
namespace test_support {

inline constexpr const char* kRatingPortalRules = R"(import csv, sys
raw = open(sys.argv[1], 'rb').read()
assert not raw.startswith(b'\xef\xbb\xbf'), 'byte-order mark'
rows = csv.DictReader(raw.decode('utf-8', errors='strict').splitlines())
assert rows.fieldnames == ['place', 'name', 'scores', 'games'], rows.fieldnames
for row in rows:
    place = int(row['place'])
    words = row['name'].split(' ')
    assert len(words) == 2 and all(words), row['name']
    assert '.' in row['scores'], row['scores']
    scores = float(row['scores'])
    games = int(row['games'])
    print(f"{place}|{row['name']}|{scores:.1f}|{games}")
)";

} // namespace test_support
