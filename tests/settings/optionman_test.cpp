// SPDX-License-Identifier: MIT
// The settings store: reading the first line over the defaults, bringing hand-edited values
// back into range, and saving.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/optionman.h"
#include "support/tempdir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;
using Values = OptionMan::Values;

using test::slurp;

class Settings : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        m_file = m_dir / "kazarinoset.env";
    }

    void writeFile(const std::string& content) {
        std::ofstream(m_file, std::ios::binary) << content;
    }
    Values load() {
        OptionMan options(m_file);
        options.LoadOptions();
        Values values{};
        for (int slot = 0; slot < OptionMan::kSlotCount; ++slot) {
            values[slot] = options.GetOption(slot);
        }
        return values;
    }

    fs::path m_file;
};

TEST_F(Settings, LoadingTheFirstLine) {
    const Values defaults{15, 14, 12, 11, 0, 0, 0, 0, 0, 0, 0};
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        Values expected;
    } cases[] = {
        {"no file", nullptr, defaults},
        {"empty file", "", defaults},
        // Slots 0 and 5 equal would hide the grid: both go back to their defaults.
        {"empty first line",
         "\r\n15,14,12,11,1,0,2,3,4,1,0,\r\n",
         {15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"garbage first line", "\x89PNG\r\n", {15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"grid in the blank-cell colour",
         "3,14,12,11,1,3,\r\n",
         {15, 14, 12, 11, 1, 0, 0, 0, 0, 0, 0}},
        {"all slots", "15,14,12,11,1,0,2,3,4,1,0,\r\n", {15, 14, 12, 11, 1, 0, 2, 3, 4, 1, 0}},
        {"short line zeroes the rest", "7,8,\r\n", {7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"out of range stops reading", "3,4,40000,5,1,\r\n", {3, 4, 12, 11, 0, 0, 0, 0, 0, 0, 0}},
        {"blanks, quotes, letters, halves",
         " 1 ,\"2\",x,2.5,0.5,3.5,\r\n",
         {1, 2, 0, 2, 0, 4, 0, 0, 0, 0, 0}},
        {"second line and twelfth field ignored",
         "1,2,3,4,1,5,1,1,1,1,9,99,\r\n0,0,0,\r\n",
         {1, 2, 3, 4, 1, 5, 1, 1, 1, 1, 9}},
        {"lone CR", "1,2,3,\r9,9,9,", {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"LF line end", "1,2,3,\n9,9,9,", {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"no line end", "9,8,7,6,0,5,4,3,2,1,-7,", {9, 8, 7, 6, 0, 5, 4, 3, 2, 1, -7}},
        {"outside the dialogs' ranges back to defaults",
         "16,-1,99,100,2,20,6,4,9,2,32767,\r\n",
         {15, 14, 12, 11, 0, 0, 0, 0, 0, 0, 32767}},
        {"upper ends of the ranges kept",
         "0,15,0,15,1,15,5,3,8,1,-32768,\r\n",
         {0, 15, 0, 15, 1, 15, 5, 3, 8, 1, -32768}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(m_file);
        if (c.content != nullptr) writeFile(c.content);
        EXPECT_EQ(load(), c.expected);
    }
}

TEST_F(Settings, OverlongLineKeepsDefaults) {
    writeFile("1,2,3," + std::string(200'000, ' '));
    EXPECT_EQ(load(), OptionMan::Defaults());
}

TEST_F(Settings, NamedPipeKeepsDefaultsWithoutBlocking) {
    ASSERT_EQ(::mkfifo(m_file.c_str(), 0600), 0);
    EXPECT_EQ(load(), OptionMan::Defaults());
}

TEST_F(Settings, ImageSetBaseFollowsSlot9) {
    struct Case {
        const char* content;
        std::int16_t base;
    } cases[] = {{"15,14,12,11,1,0,2,3,4,1,0,\r\n", 10},
                 {"15,14,12,11,1,0,2,3,4,0,0,\r\n", 0},
                 {"15,14,12,11,1,0,2,3,4,5,0,\r\n", 0}};
    for (const auto& c : cases) {
        writeFile(c.content);
        OptionMan options(m_file);
        options.SetImageSetBase(99);
        options.LoadOptions();
        EXPECT_EQ(options.ImageSetBase(), c.base) << c.content;
    }
}

TEST_F(Settings, SaveWritesOneLineAndRoundTrips) {
    OptionMan options(m_file);
    options.LoadOptions();
    ASSERT_TRUE(options.SaveOptions());
    EXPECT_EQ(slurp(m_file), "15,14,12,11,0,0,0,0,0,0,0,\r\n");

    writeFile("1,2,3,4,1,5,1,2,3,1,-123,77,\r\nsecond line\r\n");
    options.LoadOptions();
    options.SetOption(OptVariantShift, 8);
    ASSERT_TRUE(options.SaveOptions());
    EXPECT_EQ(slurp(m_file), "1,2,3,4,1,5,1,2,8,1,-123,\r\n");
    EXPECT_EQ(load(), (Values{1, 2, 3, 4, 1, 5, 1, 2, 8, 1, -123}));
}

TEST_F(Settings, FieldsAfterTheEleven) {
    using Extras = OptionMan::Extras;
    const Extras defaults = OptionMan::ExtraDefaults();
    const std::string eleven = "1,2,3,4,1,5,1,2,3,1,-5,";
    struct Case {
        std::string content;
        Extras expected;
    } cases[] = {
        {eleven + "\r\n", defaults},  // as every file was written before
        {eleven + "5,4,\r\n", {5, 4}},
        {eleven + "6,\r\n", {6, defaults[1]}},
        {eleven + "7,-1,\r\n", defaults},
        {eleven + ",,\r\n", {defaults[0], 0}},  // empty reads 0: no level, but a symmetry
        {"3,4,40000,5,1,0,0,0,0,0,0,5,4,\r\n", defaults},
    };
    for (const auto& c : cases) {
        writeFile(c.content);
        OptionMan options(m_file);
        options.LoadOptions();
        EXPECT_EQ((Extras{options.GetExtra(ExtNewLevel), options.GetExtra(ExtNewSymmetry)}),
                  c.expected)
            << c.content;
    }
    writeFile(eleven + "5,4,\r\n");
    EXPECT_EQ(load(), (Values{1, 2, 3, 4, 1, 5, 1, 2, 3, 1, -5}));

    // Written once used, and back to the eleven fields at the defaults.
    OptionMan options(m_file);
    options.LoadOptions();
    options.SetExtra(ExtNewSymmetry, 0);
    ASSERT_TRUE(options.SaveOptions());
    EXPECT_EQ(slurp(m_file), eleven + "5,0,\r\n");
    options.SetExtra(ExtNewLevel, defaults[0]);
    options.SetExtra(ExtNewSymmetry, defaults[1]);
    ASSERT_TRUE(options.SaveOptions());
    EXPECT_EQ(slurp(m_file), eleven + "\r\n");
}

// The note options come after the dialog's two fields: a line without them keeps their
// defaults, and they are written only as far as the last one that differs.
TEST_F(Settings, NoteOptionsAfterTheDialogFields) {
    const std::string eleven = "1,2,3,4,1,5,1,2,3,1,-5,";
    struct Case {
        std::string content;
        std::int16_t tidy, highlight;
        std::string saved;
    } cases[] = {
        {eleven + "\r\n", 1, 0, eleven + "\r\n"},
        {eleven + "5,4,\r\n", 1, 0, eleven + "5,4,\r\n"},
        {eleven + "2,1,0,\r\n", 0, 0, eleven + "2,1,0,\r\n"},
        {eleven + "2,1,1,1,\r\n", 1, 1, eleven + "2,1,1,1,\r\n"},
        {eleven + "2,1,7,1,\r\n", 1, 1, eleven + "2,1,1,1,\r\n"},  // out of range
        {eleven + "2,1,1,0,\r\n", 1, 0, eleven + "\r\n"},          // all defaults
    };
    for (const auto& c : cases) {
        writeFile(c.content);
        OptionMan options(m_file);
        options.LoadOptions();
        EXPECT_EQ(options.GetExtra(ExtTidyNotes), c.tidy) << c.content;
        EXPECT_EQ(options.GetExtra(ExtHighlight), c.highlight) << c.content;
        ASSERT_TRUE(options.SaveOptions());
        EXPECT_EQ(slurp(m_file), c.saved) << c.content;
    }
}

TEST_F(Settings, FailedSaveKeepsMemoryAndFile) {
    writeFile("1,2,3,4,0,5,0,0,0,0,0,\r\n");
    OptionMan options(m_dir / "missing" / "kazarinoset.env");
    options.LoadOptions();
    options.SetOption(OptBlankColor, 7);
    EXPECT_FALSE(options.SaveOptions());
    EXPECT_EQ(options.GetOption(OptBlankColor), 7);

    // The target name taken by a directory: the write fails and the directory survives.
    OptionMan blocked(m_dir);
    blocked.SetOption(OptBlankColor, 3);
    EXPECT_FALSE(blocked.SaveOptions());
    EXPECT_TRUE(fs::is_directory(m_dir));
    EXPECT_EQ(blocked.GetOption(OptBlankColor), 3);
    EXPECT_EQ(slurp(m_file), "1,2,3,4,0,5,0,0,0,0,0,\r\n");
}

TEST_F(Settings, SlotOutsideTheRecordThrows) {
    OptionMan options(m_file);
    EXPECT_THROW(options.GetOption(11), std::out_of_range);
    EXPECT_THROW(options.SetOption(-1, 0), std::out_of_range);
}

TEST(SettingsFile, NameFromProgramPath) {
    struct Case {
        const char* program;
        const char* file;
    } cases[] = {
        {"/usr/bin/kazarinoset", "kazarinoset.env"}, {"kazarinoset", "kazarinoset.env"},
        {"./kazarinoset", "kazarinoset.env"},        {"C:\\x\\kazarinoset.exe", "kazarinoset.env"},
        {"/opt/kz.d/other.bin", "other.env"},
    };
    for (const auto& c : cases) {
        const fs::path file = OptionMan::SettingsFileFor(c.program);
        EXPECT_EQ(file, fs::path(c.file)) << c.program;
        EXPECT_FALSE(file.has_parent_path()) << "relative to the current directory";
    }
}

// The settings follow the player: the current directory's file when there is one, else the
// XDG folder (made the player's alone on the first save), and a save that fails is told.
TEST_F(Settings, FolderRuleAndFailedSaveTold) {
    const std::string home = (m_dir / "home").string();
    const std::string xdg = (m_dir / "cfg").string();
    EXPECT_EQ(OptionMan::SettingsPath("/usr/bin/kazarinoset", m_dir / "elsewhere", xdg.c_str(),
                                      home.c_str()),
              m_dir / "cfg" / "kazarinoset" / "kazarinoset.env");
    EXPECT_EQ(OptionMan::SettingsPath("kazarinoset", m_dir, "relative", home.c_str()),
              fs::path(home) / ".config" / "kazarinoset" / "kazarinoset.env");
    writeFile("1,\r\n");
    EXPECT_EQ(OptionMan::SettingsPath("kazarinoset", m_dir, xdg.c_str(), home.c_str()),
              fs::path("kazarinoset.env"));

    std::vector<std::string> told;
    OptionMan options(
        OptionMan::SettingsPath("kazarinoset", m_dir / "elsewhere", xdg.c_str(), nullptr), true);
    options.LoadOptions();
    options.SetSaveFailureListener([&](const std::string& why) { told.push_back(why); });
    ASSERT_TRUE(options.SaveOptions());
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(fs::status(m_dir / "cfg" / "kazarinoset").permissions() & fs::perms::all,
              fs::perms::owner_all);
    // A file where the folder should be: the save fails and says so.
    OptionMan blocked(m_file / "kazarinoset.env", true);
    blocked.LoadOptions();
    blocked.SetSaveFailureListener([&](const std::string& why) { told.push_back(why); });
    EXPECT_FALSE(blocked.SaveOptions());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(m_file.string()), std::string::npos) << told[0];
    EXPECT_EQ(slurp(m_file), "1,\r\n");
}

// The display scale, the seventh later field: of the values between the smallest and the
// largest size only the four the menu offers are read back, anything else is 100.
TEST_F(Settings, DisplayScaleReadsOnlyOfferedSizes) {
    const std::string before = "1,2,3,4,1,5,1,2,3,1,-5,2,1,1,0,0,0,";
    for (int value = 90; value <= 210; ++value) {
        writeFile(before + std::to_string(value) + ",\r\n");
        OptionMan options(m_file);
        options.LoadOptions();
        const bool offered =
            std::find(kDisplayScales.begin(), kDisplayScales.end(), value) != kDisplayScales.end();
        EXPECT_EQ(options.GetExtra(ExtDisplayScale), offered ? value : 100) << value;
    }
}

}  // namespace
}  // namespace kz
