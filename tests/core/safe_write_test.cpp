// The safe write on real files in a scratch folder: whatever sits at or beside the target, the
// write either replaces the file it names completely or leaves everything as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sched.h>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/safe_write.h"
#include "support/files.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

using test_support::readFile;
using test_support::writeFile;

mode_t modeOf(const fs::path& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

std::set<std::string> entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Runs the write in a child without root's rights, so that folder permissions count even when
// the tests run as root. Returns the write's result.
bool writeAsUnprivileged(const std::string& path, const std::string& content, std::string& why) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return true;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        std::string error;
        const bool ok = safeWriteFile(path, content, &error);
        (void)!::write(pipeFds[1], error.data(), error.size());
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        why.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 3) << "could not drop privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Case {
    const char* name;
    // Prepares the folder and returns the path to write to.
    std::function<fs::path(const fs::path& dir)> prepare;
    bool succeeds;
    const char* reason; // part of the error text on failure
    std::function<void(const fs::path& dir)> check;
    bool unprivileged = false;
};

const std::string kOld = "old content\r\n";
const std::string kNew = "new content\r\n";

} // namespace

TEST(SafeWrite, EveryTargetIsReplacedWholeOrLeftAlone) {
    const mode_t mask = currentUmask();
    const std::vector<Case> cases = {
        {"new file gets the default mode", [](const fs::path& d) { return d / "t.csv"; }, true, "",
         [mask](const fs::path& d) {
             EXPECT_EQ(readFile(d / "t.csv"), kNew);
             EXPECT_EQ(modeOf(d / "t.csv") & 07777, 0666 & ~mask);
         }},
        {"600 file keeps 600",
         [](const fs::path& d) {
             writeFile(d / "t.csv", kOld);
             ::chmod((d / "t.csv").c_str(), 0600);
             return d / "t.csv";
         },
         true, "",
         [](const fs::path& d) {
             EXPECT_EQ(readFile(d / "t.csv"), kNew);
             EXPECT_EQ(modeOf(d / "t.csv") & 07777, 0600u);
         }},
        {"symlink planted at the temporary name is not written through",
         [](const fs::path& d) {
             writeFile(d / "victim", kOld);
             writeFile(d / "t.csv", kOld);
             fs::create_symlink(d / "victim", d / "t.csv.saving");
             return d / "t.csv";
         },
         true, "",
         [](const fs::path& d) {
             EXPECT_EQ(readFile(d / "t.csv"), kNew);
             EXPECT_EQ(readFile(d / "victim"), kOld);
             EXPECT_TRUE(fs::is_symlink(d / "t.csv.saving"));
         }},
        {"symlinked target keeps its link and the real file changes",
         [](const fs::path& d) {
             fs::create_directories(d / "real");
             writeFile(d / "real" / "t.csv", kOld);
             ::chmod((d / "real" / "t.csv").c_str(), 0640);
             fs::create_symlink("real/t.csv", d / "link.csv");
             fs::create_symlink("link.csv", d / "link2.csv");
             return d / "link2.csv";
         },
         true, "",
         [](const fs::path& d) {
             EXPECT_TRUE(fs::is_symlink(d / "link.csv"));
             EXPECT_TRUE(fs::is_symlink(d / "link2.csv"));
             EXPECT_EQ(readFile(d / "real" / "t.csv"), kNew);
             EXPECT_EQ(modeOf(d / "real" / "t.csv") & 07777, 0640u);
             EXPECT_EQ(entries(d / "real"), std::set<std::string>{"t.csv"});
         }},
        {"dangling link creates the file it names",
         [](const fs::path& d) {
             fs::create_symlink("later.csv", d / "t.csv");
             return d / "t.csv";
         },
         true, "",
         [](const fs::path& d) {
             EXPECT_TRUE(fs::is_symlink(d / "t.csv"));
             EXPECT_EQ(readFile(d / "later.csv"), kNew);
         }},
        {"FIFO target is refused without being opened",
         [](const fs::path& d) {
             ::mkfifo((d / "t.csv").c_str(), 0644);
             return d / "t.csv";
         },
         false, "not a regular file",
         [](const fs::path& d) { EXPECT_TRUE(S_ISFIFO(modeOf(d / "t.csv"))); }},
        {"folder target is refused",
         [](const fs::path& d) {
             fs::create_directories(d / "t.csv");
             return d / "t.csv";
         },
         false, "not a regular file",
         [](const fs::path& d) { EXPECT_TRUE(fs::is_directory(d / "t.csv")); }},
        {"read-only file is refused",
         [](const fs::path& d) {
             writeFile(d / "t.csv", kOld);
             ::chmod((d / "t.csv").c_str(), 0444);
             return d / "t.csv";
         },
         false, "Permission denied",
         [](const fs::path& d) { EXPECT_EQ(readFile(d / "t.csv"), kOld); }},
        {"read-only folder fails with the reason",
         [](const fs::path& d) {
             writeFile(d / "t.csv", kOld);
             ::chmod((d / "t.csv").c_str(), 0666);
             ::chmod(d.c_str(), 0555);
             return d / "t.csv";
         },
         false, "Permission denied",
         [](const fs::path& d) {
             ::chmod(d.c_str(), 0755);
             EXPECT_EQ(readFile(d / "t.csv"), kOld);
         },
         true},
        {"missing folder fails with the reason",
         [](const fs::path& d) { return d / "missing" / "t.csv"; }, false, "No such file",
         [](const fs::path&) {}},
    };

    const fs::path root =
        fs::temp_directory_path() / ("quelna_safe_write_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    ::chmod(root.c_str(), 0755); // the unprivileged case must reach its folder
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = root / std::to_string(index++);
        fs::create_directories(dir);
        const fs::path target = c.prepare(dir);
        const std::set<std::string> before = entries(dir);
        std::string why;
        const bool ok = c.unprivileged ? writeAsUnprivileged(target, kNew, why)
                                       : safeWriteFile(target, kNew, &why);
        EXPECT_EQ(ok, c.succeeds) << why;
        if (!c.succeeds) {
            EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        }
        c.check(dir);
        // No temporary file is left behind: the folder holds what it held, plus a new target.
        std::set<std::string> after = entries(dir);
        if (c.succeeds)
            after.erase(fs::path(target).filename().string());
        std::set<std::string> expected = before;
        expected.erase(fs::path(target).filename().string());
        if (c.name == std::string("dangling link creates the file it names"))
            after.erase("later.csv");
        EXPECT_EQ(after, c.succeeds ? expected : before);
    }
    fs::remove_all(root);
}

// Temporaries that killed saves left beside a file go at its next save; whatever merely looks like
// one, or belongs to a save still in progress, stays.
TEST(SafeWrite, LeftoversOfKilledSavesGoAtTheNextSave) {
    test_support::ScratchDir scratch("quelna_safe_write_leftovers");
    const fs::path& d = scratch.path();
    writeFile(d / "t.csv", kOld);
    writeFile(d / "victim", kOld);
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    enum Kind { File, FreshFile, HeldFile, Link, Folder };
    const struct {
        const char* name;
        Kind kind;
        bool removed;
    } cases[] = {
        {"t.csv.saving", File, true},
        {"t.csv.saving-0123456789ab", File, true},
        {"t.csv.saving-0123456789AB", File, false}, // not the program's naming
        {"t.csv.saving-0123", File, false},
        {"t.csv.saving-0123456789abc", File, false},
        {"other.csv.saving", File, false}, // another file's
        {"t.csv.saving-abcdefabcdef", FreshFile, false},
        {"t.csv.saving-aaaaaaaaaaaa", HeldFile, false}, // a save in progress
        {"t.csv.saving-bbbbbbbbbbbb", Link, false},
        {"t.csv.saving-cccccccccccc", Folder, false},
    };
    int held = -1;
    for (const auto& c : cases) {
        const fs::path p = d / c.name;
        if (c.kind == Link) {
            fs::create_symlink("victim", p);
            continue;
        }
        if (c.kind == Folder) {
            fs::create_directory(p);
            continue;
        }
        writeFile(p, "half a tournam");
        if (c.kind != FreshFile)
            fs::last_write_time(p, old);
        if (c.kind == HeldFile) {
            held = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
        }
    }
    std::string why;
    ASSERT_TRUE(safeWriteFile((d / "t.csv").string(), kNew, &why)) << why;
    ::close(held);
    EXPECT_EQ(readFile(d / "t.csv"), kNew);
    EXPECT_EQ(readFile(d / "victim"), kOld);
    for (const auto& c : cases)
        EXPECT_EQ(fs::symlink_status(d / c.name).type() == fs::file_type::not_found, c.removed)
            << c.name;
}

// A read-only file system is named as such, for a file it holds and for a new one; it is no
// question of permissions. Needs a mount namespace of its own (root); skipped elsewhere.
TEST(SafeWrite, ReadOnlyFileSystemIsNamedAsSuch) {
    test_support::ScratchDir scratch("quelna_safe_write_rofs");
    const fs::path d = scratch.path();
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", d.c_str(), "tmpfs", 0, "size=1m") != 0)
            ::_exit(4);
        writeFile(d / "t.csv", kOld);
        if (::mount("tmpfs", d.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m") != 0)
            ::_exit(4);
        std::string reasons;
        for (const char* name : {"t.csv", "new.csv"}) {
            std::string error;
            if (safeWriteFile((d / name).string(), kNew, &error))
                ::_exit(5);
            reasons += error + "\n";
        }
        (void)!::write(pipeFds[1], reasons.data(), reasons.size());
        ::_exit(readFile(d / "t.csv") == kOld ? 0 : 6);
    }
    ::close(pipeFds[1]);
    std::string why;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        why.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 4)
        GTEST_SKIP() << "no mount namespace of our own here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << why;
    EXPECT_EQ(why, (d / "t.csv").string() + ": Read-only file system\n" + (d / "new.csv").string() +
                       ".saving: Read-only file system\n");
}
