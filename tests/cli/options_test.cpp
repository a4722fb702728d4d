// The one argument reader of quelna-cli, through the real binary: every command spells options
// alike (--name value, --name=value) and refuses bad ones with one line and exit status 2,
// before it reads any file.
#include <gtest/gtest.h>

#include <string>

#include "support/run_program.h"

namespace {

using test_support::readFile;

TEST(CliOptions, EveryCommandRefusesBadArgumentsAlikeAndTakesNameEqualsValue) {
    test_support::ScratchDir dir("quelna_cli_options");
    const struct {
        const char* args;
        const char* error; // the whole line on standard error
    } cases[] = {
        {"html", "html needs the tournament file to read; see html --help"},
        {"html in.csv", "html needs --out DIR"},
        {"html in.csv --out ''", "--out needs a file name"},
        {"html in.csv --out=site --colour=red", "unknown option '--colour' for html"},
        {"html in.csv --out site --encoding latin1",
         "--encoding must be utf-8 or cp1251, not 'latin1'"},
        {"export-rating in.csv --out", "option --out needs a value"},
        {"export-rating in.csv extra.csv --out x.csv", "unexpected argument 'extra.csv'"},
        {"export-rating --out x.csv", "export-rating needs IN.csv and --out OUT.csv; see "
                                      "export-rating --help"},
        {"seat in.csv --search=slow", "--search must be fast or text, not 'slow'"},
        {"seat in.csv --teams", "unknown option '--teams' for seat"},
        {"simulate --players=12 --rounds=4 --teams=yes", "--teams takes no value"},
        {"simulate --players=12 --rounds=4 --out=", "--out needs a file name"},
        {"simulate --players=12 --rounds=4 --random-seconds=1.5",
         "option --random-seconds needs a whole number of 0 or more, not '1.5'"},
        {"simulate --players 12 --rounds 4 --seed=4294967296",
         "--seed must be from 0 to 4294967295, not '4294967296'"},
        {"simulate --rounds=4", "simulate needs --players N"},
    };
    for (const auto& c : cases) {
        const test_support::RunResult r = test_support::runProgram(QUELNA_CLI, c.args, dir.path());
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_EQ(r.err, std::string("quelna-cli: ") + c.error + "\n") << c.args;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }

    // --help and --version anywhere answer instead of running, each command with its own usage.
    EXPECT_EQ(test_support::runProgram(QUELNA_CLI, "html in.csv --help", dir.path())
                  .out.rfind("usage: quelna-cli html IN.csv --out DIR", 0),
              0u);
    const test_support::RunResult help =
        test_support::runProgram(QUELNA_CLI, "seat in.csv -h", dir.path());
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, test_support::runProgram(QUELNA_CLI, "--help", dir.path()).out);
    EXPECT_EQ(test_support::runProgram(QUELNA_CLI, "export-rating --version", dir.path()).out,
              test_support::runProgram(QUELNA_CLI, "--version", dir.path()).out);

    // --out=DIR and --out DIR write the same pages.
    const std::string in = (dir.path() / "in.csv").string();
    auto run = [&](const std::string& args) {
        return test_support::runProgram(QUELNA_CLI, args, dir.path()).status;
    };
    ASSERT_EQ(run("simulate --players 16 --rounds 2 --seed 3 --out=" + in), 0);
    ASSERT_EQ(run("html " + in + " --out=" + (dir.path() / "a").string()), 0);
    ASSERT_EQ(run("html " + in + " --out " + (dir.path() / "b").string()), 0);
    EXPECT_EQ(readFile(dir.path() / "a" / "index.html"), readFile(dir.path() / "b" / "index.html"));
    EXPECT_FALSE(readFile(dir.path() / "a" / "index.html").empty());
}

} // namespace
