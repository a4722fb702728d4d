// The Windows branch of the safe write on real files (run under Wine): UTF-16 names, the
// read-only attribute, a file another program holds open, names already taken.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "core/fs_path.h"
#include "core/safe_write.h"
#include "support/files.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

using test_support::readFile;
using test_support::writeFile;

std::set<fs::path> entries(const fs::path& dir) {
    std::set<fs::path> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename());
    return names;
}

const std::string kOld = "old content\r\n";
const std::string kNew = "new content\r\n";

struct Case {
    const char* name;
    // Prepares the folder and returns the target; may leave a handle to close afterwards.
    std::function<fs::path(const fs::path& dir, HANDLE& held)> prepare;
    bool succeeds;
    const char* reason; // part of the error text on failure, when the text is our own
};

} // namespace

TEST(SafeWriteWindows, EveryTargetIsReplacedWholeOrLeftAlone) {
    const std::vector<Case> cases = {
        {"new file in a Cyrillic folder",
         [](const fs::path& d, HANDLE&) {
             fs::create_directories(d / fs::path(u8"Турнир"));
             return d / fs::path(u8"Турнир") / fs::path(u8"Итоги.csv");
         },
         true, ""},
        {"existing file is replaced",
         [](const fs::path& d, HANDLE&) {
             writeFile(d / "t.csv", kOld);
             return d / "t.csv";
         },
         true, ""},
        {"a file at the first temporary name is left alone",
         [](const fs::path& d, HANDLE&) {
             writeFile(d / "t.csv", kOld);
             writeFile(d / "t.csv.saving", "not ours");
             return d / "t.csv";
         },
         true, ""},
        {"read-only attribute refuses",
         [](const fs::path& d, HANDLE&) {
             writeFile(d / "t.csv", kOld);
             SetFileAttributesW((d / "t.csv").c_str(), FILE_ATTRIBUTE_READONLY);
             return d / "t.csv";
         },
         false, "t.csv"},
        {"a folder at the target refuses",
         [](const fs::path& d, HANDLE&) {
             fs::create_directories(d / "t.csv");
             return d / "t.csv";
         },
         false, "is not a regular file"},
        // The organiser still has the file open in a spreadsheet that does not share deletion.
        {"a file held open without delete sharing stays as it was",
         [](const fs::path& d, HANDLE& held) {
             writeFile(d / "t.csv", kOld);
             held = CreateFileW((d / "t.csv").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
             EXPECT_NE(held, INVALID_HANDLE_VALUE);
             return d / "t.csv";
         },
         false, "t.csv"},
        {"missing folder fails", [](const fs::path& d, HANDLE&) { return d / "missing" / "t.csv"; },
         false, "t.csv"},
    };

    const fs::path root = fs::temp_directory_path() / "quelna_safe_write_windows";
    fs::remove_all(root);
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = root / std::to_string(index++);
        fs::create_directories(dir);
        HANDLE held = INVALID_HANDLE_VALUE;
        const fs::path target = c.prepare(dir, held);
        const fs::path folder = target.parent_path();
        const std::set<fs::path> before =
            fs::exists(folder) ? entries(folder) : std::set<fs::path>();
        const std::string old = fs::is_regular_file(target) ? readFile(target) : std::string();
        std::string why;
        EXPECT_EQ(safeWriteFile(pathText(target), kNew, &why), c.succeeds) << why;
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        if (c.succeeds) {
            EXPECT_EQ(readFile(target), kNew);
        } else {
            EXPECT_NE(why.find(c.reason), std::string::npos) << why;
            if (fs::is_regular_file(target)) {
                EXPECT_EQ(readFile(target), old);
            }
        }
        // No temporary file is left behind: the folder holds what it held, plus a new target.
        if (fs::exists(folder)) {
            std::set<fs::path> after = entries(folder);
            std::set<fs::path> expected = before;
            if (c.succeeds)
                expected.insert(target.filename());
            EXPECT_EQ(after, expected);
        }
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(readFile(root / "2" / "t.csv.saving"), "not ours");
    fs::remove_all(root);
}
