// The help command: the game's own help file in its own window, or one message when missing.
#include "harness.h"
#include "shell/help.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpTest, MissingFileGivesOneMessageAndNothingElse) {
    const std::string dir = test::TempDir("nohelp");
    auto options = test::Options("1500 menu mHelpHelp");
    options.appDir = dir + "/";
    options.stopAfterTicks = 2000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    const auto boxes = run.events("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"text\":\"ヘルプファイルが見つかりません\",\"title\":\"Vexaro!!\""),
              std::string::npos);
    EXPECT_EQ(run.events("window").size(), 3u); // no help window
}

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
    const auto lines = ReadHelpFile(test::SourceDir() + "assets/Help.hlp");
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
    const auto lines = ReadHelpFile(dir + "/Help.hlp");
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].heading);
    EXPECT_EQ(lines[0].text, "Title");
    EXPECT_EQ(lines[1].text.size(), 600u);
    EXPECT_EQ(lines[2].text, "  ctrl");
    std::size_t total = 0;
    for (const auto& line : lines)
        total += line.text.size();
    EXPECT_LE(total, 256u * 1024u);
    EXPECT_TRUE(ReadHelpFile(dir + "/none.hlp").empty());
}

} // namespace
