// The help command: the game's own help file in its own window, or one message when missing.
#include "harness.h"
#include "shell/help.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A help file that is not there, or cannot be read: one message, and no help window.
struct NoHelpCase {
    const char* name;
    const char* target; // what Help.hlp is a link to; none: there is no Help.hlp
    const char* text;
};
VEXARO_PRINT_CASE_BY_NAME(NoHelpCase)

class NoHelp : public ::testing::TestWithParam<NoHelpCase> {};

TEST_P(NoHelp, GivesOneMessageAndNothingElse) {
    const NoHelpCase& c = GetParam();
    const std::string dir = test::TempDir(std::string("nohelp-") + c.name);
    if (c.target) std::filesystem::create_symlink(c.target, dir + "/Help.hlp");
    auto options = test::Options("1500 menu mHelpHelp");
    options.appDir = dir + "/";
    options.stopAfterTicks = 2000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    const auto boxes = run.events("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"text\":\"" + std::string(c.text) + "\",\"title\":\"Vexaro!!\""),
              std::string::npos)
        << boxes[0];
    EXPECT_EQ(run.events("window").size(), 3u); // no help window
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoHelp,
    ::testing::Values(NoHelpCase{"missing", nullptr, "ヘルプファイルが見つかりません"},
                      NoHelpCase{"folder", "/tmp", "ヘルプファイルが見つかりません"},
                      // Every read fails with an I/O error, as on a failing disk.
                      NoHelpCase{"readFails", "/proc/self/mem", "ヘルプファイルを読み込めません"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpTest, OpensAtTheContentsWhileTheGameGoesOn) {
    auto options = test::Options("1500 menu mHelpHelp\n1600 tap space");
    options.stopAfterTicks = 3000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    const auto windows = run.events("window");
    ASSERT_GE(windows.size(), 4u);
    EXPECT_NE(windows[3].find("\"form\":\"fHelp\",\"do\":\"show\""), std::string::npos);
    EXPECT_FALSE(run.events("load").empty()); // Space started a game meanwhile
}

TEST(HelpTest, TheShippedFileHasContentsAndAnEnglishSection) {
    const auto read = ReadHelpFile(test::SourceDir() + "assets/Help.hlp");
    ASSERT_TRUE(read.has_value());
    const auto& lines = *read;
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].heading);
    EXPECT_NE(lines[0].text.find("目次"), std::string::npos);
    bool english = false;
    for (const auto& line : lines)
        english = english || (line.heading && line.text.find("English") != std::string::npos);
    EXPECT_TRUE(english);
}

TEST(HelpTest, HostileFilesAreTamed) {
    const std::string dir = test::TempDir("badhelp");
    {
        std::ofstream out(dir + "/Help.hlp", std::ios::binary);
        out << "= Title\n"
            << std::string(5000, 'x')
            << "\n\x01\x02"
               "ctrl\r\n";
        out << std::string(400 * 1024, 'y'); // beyond the size limit
    }
    const auto read = ReadHelpFile(dir + "/Help.hlp");
    ASSERT_TRUE(read.has_value());
    const auto& lines = *read;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].heading);
    EXPECT_EQ(lines[0].text, "Title");
    EXPECT_EQ(lines[1].text.size(), 600u);
    EXPECT_EQ(lines[2].text, "  ctrl");
    std::size_t total = 0;
    for (const auto& line : lines)
        total += line.text.size();
    EXPECT_LE(total, 256u * 1024u);
    EXPECT_FALSE(ReadHelpFile(dir + "/none.hlp").has_value());
}

} // namespace
