// The safe write against whatever sits at and beside its target: a file of any mode, links (also
// dangling, chained or looping), a FIFO, a folder, a missing folder, a link planted at the
// temporary name, and a file size limit that makes the write itself fail half way (the write
// must survive the signal such a limit raises, and give its disposition back). The write either
// replaces the file the target names, keeping its mode and every link, or changes nothing; it
// never leaves a temporary file behind and always gives a reason for a failure.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/safe_write.h"
#include "fuzz_check.h"

namespace fs = std::filesystem;

namespace {

// Under TMPDIR, which scripts/fuzz points at a memory file system; removed at exit.
const fs::path& scratchDir() {
    static fs::path dir;
    static const bool made = [] {
        std::string d = (fs::temp_directory_path() / "quelna-fuzz-write-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(d.data()) != nullptr);
        dir = d;
        return std::atexit([] {
                   std::error_code ignored;
                   fs::remove_all(dir, ignored);
               }) == 0;
    }();
    FUZZ_CHECK(made);
    return dir;
}

// libFuzzer catches SIGXFSZ itself, so a write that let the signal through is a finding too.
void (*sizeSignalHandler())(int) {
    struct sigaction now {};
    FUZZ_CHECK(::sigaction(SIGXFSZ, nullptr, &now) == 0);
    return now.sa_handler;
}

bool holdsTemporaryFile(const fs::path& dir) {
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename().string().find(".saving") != std::string::npos &&
            !fs::is_symlink(e.symlink_status()))
            return true;
    return false;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Entry {
    mode_t mode = 0;
    std::string content; // file bytes or link text
    bool operator==(const Entry&) const = default;
};

std::map<std::string, Entry> snapshot(const fs::path& dir) {
    std::map<std::string, Entry> entries;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        struct stat st;
        FUZZ_CHECK(::lstat(e.path().c_str(), &st) == 0);
        Entry entry{st.st_mode, ""};
        if (S_ISLNK(st.st_mode))
            entry.content = fs::read_symlink(e.path()).string();
        else if (S_ISREG(st.st_mode))
            entry.content = readFile(e.path());
        entries[e.path().lexically_relative(dir).string()] = entry;
    }
    return entries;
}

enum Kind { Missing, Regular, Link, Dangling, Chain, Fifo, Folder, NoFolder, Loop, KindCount };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const fs::path dir = scratchDir() / "case";
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "real");

    const Kind kind = static_cast<Kind>(in.ConsumeIntegralInRange<int>(0, KindCount - 1));
    const mode_t mode = in.ConsumeIntegralInRange<mode_t>(0, 0777);
    const bool planted = in.ConsumeBool();
    const bool limited = in.ConsumeBool();
    const rlim_t limit = in.ConsumeIntegralInRange<rlim_t>(0, 256);
    const std::string content = in.ConsumeRemainingBytesAsString();

    const fs::path real = dir / "real" / "t.csv";
    fs::path target = dir / "t.csv";
    bool replaces = false; // an existing regular file is the one written
    bool writable = true;
    switch (kind) {
    case Missing:
        target = real;
        break;
    case Regular:
        target = real;
        std::ofstream(real, std::ios::binary) << "old";
        FUZZ_CHECK(::chmod(real.c_str(), mode) == 0);
        replaces = true;
        writable = (mode & 0222) != 0;
        break;
    case Link:
    case Chain:
        std::ofstream(real, std::ios::binary) << "old";
        FUZZ_CHECK(::chmod(real.c_str(), mode | 0200) == 0);
        replaces = true;
        [[fallthrough]];
    case Dangling:
        fs::create_symlink("real/t.csv", kind == Chain ? dir / "middle.csv" : target);
        if (kind == Chain)
            fs::create_symlink("middle.csv", target);
        break;
    case Fifo:
        FUZZ_CHECK(::mkfifo(target.c_str(), 0644) == 0);
        writable = false;
        break;
    case Folder:
        fs::create_directories(target);
        writable = false;
        break;
    case NoFolder:
        target = dir / "missing" / "t.csv";
        writable = false;
        break;
    case Loop:
        fs::create_symlink("b.csv", dir / "t.csv");
        fs::create_symlink("t.csv", dir / "b.csv");
        writable = false;
        break;
    case KindCount:
        break;
    }
    if (planted) {
        std::ofstream(dir / "victim", std::ios::binary) << "victim";
        fs::create_symlink(dir / "victim", fs::path(real.string() + ".saving"));
    }
    const std::map<std::string, Entry> before = snapshot(dir);
    struct stat old {};
    if (replaces)
        FUZZ_CHECK(::stat(real.c_str(), &old) == 0);

    rlimit saved{};
    if (limited) {
        FUZZ_CHECK(::getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit small = saved;
        small.rlim_cur = limit;
        FUZZ_CHECK(::setrlimit(RLIMIT_FSIZE, &small) == 0);
    }
    std::string error;
    const auto handler = sizeSignalHandler();
    const bool ok = quelna::safeWriteFile(target.string(), content, &error);
    if (limited)
        FUZZ_CHECK(::setrlimit(RLIMIT_FSIZE, &saved) == 0);
    FUZZ_CHECK(sizeSignalHandler() == handler);
    FUZZ_CHECK(!holdsTemporaryFile(dir));

    const bool fits = !limited || content.size() <= limit;
    FUZZ_CHECK(ok == (writable && fits));
    std::map<std::string, Entry> after = snapshot(dir);
    if (!ok) {
        FUZZ_CHECK(!error.empty());
        if (writable && !fits) // the limit is the reason given
            FUZZ_CHECK(error.find(std::strerror(EFBIG)) != std::string::npos);
        FUZZ_CHECK(after == before);
        return 0;
    }
    FUZZ_CHECK(readFile(real) == content);
    struct stat now;
    FUZZ_CHECK(::lstat(real.c_str(), &now) == 0 && S_ISREG(now.st_mode));
    if (replaces) {
        FUZZ_CHECK((now.st_mode & 07777) == (old.st_mode & 07777));
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        FUZZ_CHECK((now.st_mode & 07777) == (0666 & ~mask));
    }
    // Everything but the real file is as it was: links, the victim, and no temporary file.
    const std::string name = real.lexically_relative(dir).string();
    after.erase(name);
    std::map<std::string, Entry> expected = before;
    expected.erase(name);
    FUZZ_CHECK(after == expected);
    return 0;
}
