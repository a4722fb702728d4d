#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/ini_file.h"
#include "core/settings.h"

using namespace quelna;
namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quelna_settings_" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        path = (dir / "quelna.ini").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::string read() {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir;
    std::string path;
};

// The slide fields as a fresh or unreadable file leaves them.
void expectSlideDefaults(const Settings& s) {
    EXPECT_EQ(s.slideInterval, 7);
    EXPECT_EQ(s.slideTablesX, 2);
    EXPECT_EQ(s.slideTablesY, 2);
    EXPECT_EQ(s.slideLines, 8);
}

} // namespace

TEST_F(SettingsFile, MissingFileGivesDefaults) {
    Settings s;
    s.slideInterval = 12;
    s.fixedTables = 3;
    loadSettings(s, path);
    EXPECT_EQ(s.tournamentTitle, "");
    EXPECT_TRUE(s.showOnSecondary);
    expectSlideDefaults(s);
    EXPECT_EQ(s.fixedTables, 0);
    EXPECT_EQ(s.exhaustiveTimeout, 1);
    EXPECT_EQ(s.settingsPath, path);
}

TEST_F(SettingsFile, OutOfRangeValuesFallBackToDefaults) {
    write("[quelna]\r\n interval = 25 \r\nLINES=4\r\nTablesX=5\r\nTABLESY=abc\r\nSECONDARY=0\r\n"
          "TOURNAMENT=  Кубок  \r\nUMA1=2147483647\r\nUMA4=-99999999999\r\nSTARTPOINTS=1000001\r\n"
          "RETURNPOINTS=-2147483648\r\nSUBSTITUTE=9223372036854775807\r\nUMA2=20000\r\n");
    Settings s;
    loadSettings(s, path);
    expectSlideDefaults(s);
    // Rule points beyond any club's rules give the default; the one in range is kept.
    const ScoringRule rule;
    EXPECT_EQ(s.scoring.uma, (std::array<int, 4>{rule.uma[0], 20000, rule.uma[2], rule.uma[3]}));
    EXPECT_EQ(s.scoring.startPoints, rule.startPoints);
    EXPECT_EQ(s.scoring.returnPoints, rule.returnPoints);
    EXPECT_EQ(s.substituteResult, kDefaultSubstituteResult);
    EXPECT_FALSE(s.showOnSecondary);
    EXPECT_EQ(s.tournamentTitle, "Кубок");
    write("[QUELNA]\nINTERVAL=20\nLINES=32\nTABLESX=4\nTABLESY=3\nSECONDARY=1\n");
    loadSettings(s, path);
    EXPECT_EQ(s.slideInterval, 20);
    EXPECT_EQ(s.slideLines, 32);
    EXPECT_EQ(s.slideTablesX, 4);
    EXPECT_EQ(s.slideTablesY, 3);
    EXPECT_TRUE(s.showOnSecondary);
}

TEST_F(SettingsFile, SaveKeepsOtherSectionsAndKeysByteForByte) {
    const std::string other = "; comment\n[Other]\nkey = value  \n\n";
    write(other + "[Quelna]\nSecondary=1\nCUSTOM=keep me\n[Last]\nx=1");
    Settings s;
    loadSettings(s, path);
    s.showOnSecondary = false;
    s.tournamentTitle = "Open";
    s.slideLines = 16;
    ASSERT_TRUE(saveSettings(s));
    const std::string text = read();
    EXPECT_EQ(text.rfind(other, 0), 0u);
    EXPECT_NE(text.find("SECONDARY=0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Secondary=1"), std::string::npos);
    EXPECT_NE(text.find("CUSTOM=keep me\n"), std::string::npos);
    EXPECT_NE(text.find("[Last]\nx=1"), std::string::npos);
    Settings again;
    loadSettings(again, path);
    EXPECT_FALSE(again.showOnSecondary);
    EXPECT_EQ(again.tournamentTitle, "Open");
    EXPECT_EQ(again.slideLines, 16);
    IniFile ini = IniFile::load(path);
    EXPECT_EQ(ini.get("other", "KEY").value_or(""), "value");
}

TEST_F(SettingsFile, NewFileIsWrittenWithCrLf) {
    Settings s;
    loadSettings(s, path);
    s.showOnSecondary = false; // as after a run with one monitor
    ASSERT_TRUE(saveSettings(s));
    EXPECT_EQ(read(), "[QUELNA]\r\nTOURNAMENT=\r\nSECONDARY=0\r\nTABLESX=2\r\nTABLESY=2\r\n"
                      "LINES=8\r\nINTERVAL=7\r\n");

    // Planning ahead is on until switched off; then, and from then on, it has a section of its own.
    EXPECT_TRUE(s.planAhead);
    for (const bool on : {false, true}) {
        s.planAhead = on;
        ASSERT_TRUE(saveSettings(s));
        EXPECT_NE(read().find(on ? "[SEATING]\r\nPLANAHEAD=1" : "[SEATING]\r\nPLANAHEAD=0"),
                  std::string::npos);
        Settings again;
        loadSettings(again, path);
        EXPECT_EQ(again.planAhead, on);
    }
}

TEST_F(SettingsFile, GarbageAndEmptyFilesAreHarmless) {
    write("");
    Settings s;
    loadSettings(s, path);
    expectSlideDefaults(s);
    write(std::string("\x01\x02=\xff\n[[[\n=\n[QUELNA\nINTERVAL\n\0x", 29));
    loadSettings(s, path);
    expectSlideDefaults(s);
    EXPECT_TRUE(saveSettings(s));
#ifndef _WIN32
    // A settings file that is a FIFO must not block the start (nor be replaced).
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    s.slideLines = 20;
    loadSettings(s, path);
    expectSlideDefaults(s);
    EXPECT_FALSE(saveSettings(s));
    EXPECT_TRUE(fs::is_fifo(path));
#endif
}

TEST(Settings, ClampKeepsEveryFieldInItsRange) {
    Settings s;
    s.exhaustiveTimeout = 99;
    s.randomTimeout = -1;
    s.fixedTables = 10;
    s.overlapTables = -3;
    s.slideTablesX = 9;
    s.slideLines = 1;
    s.slideInterval = 50;
    s.tournamentTitle = std::string(400, 'a');
    clampSettings(s, 3);
    EXPECT_EQ(s.exhaustiveTimeout, 10);
    EXPECT_EQ(s.randomTimeout, 0);
    EXPECT_EQ(s.fixedTables, 3);
    EXPECT_EQ(s.overlapTables, 0);
    EXPECT_EQ(s.slideTablesX, 4);
    EXPECT_EQ(s.slideLines, 8);
    EXPECT_EQ(s.slideInterval, 20);
    EXPECT_EQ(s.tournamentTitle.size(), 255u);
}

TEST_F(SettingsFile, LongTitleCutAtABlankReadsBackTheSame) {
    write("[QUELNA]\r\nTOURNAMENT=" + std::string(254, 'a') + " tail\r\n");
    Settings s;
    loadSettings(s, path);
    EXPECT_EQ(s.tournamentTitle, std::string(254, 'a'));
    ASSERT_TRUE(saveSettings(s));
    Settings again;
    loadSettings(again, path);
    EXPECT_EQ(again.tournamentTitle, s.tournamentTitle);
}
