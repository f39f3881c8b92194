// The recording file: what the writer makes reads back the same, every kind of bad file is
// refused with one line naming the fault, and a file cut short is told apart from a whole one.
#include "harness.h"
#include "platform/recording.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using platform::ParseRecording;
using platform::RecordedItem;
using platform::Recording;
using Kind = RecordedItem::Kind;

const std::string kHead = "vexaro-recording 1\n";

Recording Parsed(const std::string& text) {
    Recording r;
    std::string error;
    EXPECT_TRUE(ParseRecording(text, r, error)) << error << "\n" << text;
    return r;
}

TEST(RecordingFormat, RunsOfReadsAndStepsAreWrittenShortAndReadBack) {
    platform::RecordingWriter w;
    w.header(4000000000u, 120, 3, "a test");
    for (const std::uint32_t d : {0u, 0u, 0u, 1u, 1u, 7u})
        w.read(d);
    for (int i = 0; i < 1000; ++i)
        w.stepEnd(1);
    w.line(0, "down 32"); // after the steps before it; the reads go on on their line
    for (const std::uint32_t d : {2u, 12u, 1u, 1u, 1u, 1u})
        w.read(d);
    w.stepEnd(0);
    w.closeRuns();
    w.line(12, "end stop");
    const std::string text = w.take();
    EXPECT_NE(text.find("\ns 1*1000\ndown 32\nr 000b72 12*1 d\ns 0\n+12 end stop\n"),
              std::string::npos)
        << text;

    const Recording r = Parsed(text);
    EXPECT_EQ(r.startTick, 4000000000u);
    EXPECT_EQ(r.dpi, 120);
    EXPECT_EQ(r.firstRound, 3);
    EXPECT_TRUE(r.complete);
    ASSERT_EQ(r.reads.size(), 6u);
    EXPECT_EQ(r.reads[0].delta, 0u);
    EXPECT_EQ(r.reads[0].count, 3u);
    EXPECT_EQ(r.reads[1].delta, 1u);
    EXPECT_EQ(r.reads[1].count, 2u);
    EXPECT_EQ(r.reads[2].delta, 7u);
    EXPECT_EQ(r.reads[3].delta, 2u);
    EXPECT_EQ(r.reads[4].delta, 12u);
    EXPECT_EQ(r.reads[5].delta, 1u);
    EXPECT_EQ(r.reads[5].count, 4u);
    ASSERT_EQ(r.items.size(), 4u);
    EXPECT_EQ(r.items[0].kind, Kind::Steps);
    EXPECT_EQ(r.items[0].count, 1000u);
    EXPECT_EQ(r.items[1].kind, Kind::KeyDown);
    EXPECT_EQ(r.items[1].value, 32);
    EXPECT_TRUE(r.items[1].form.empty());
    EXPECT_EQ(r.items[3].kind, Kind::End);
    EXPECT_EQ(r.items[3].delta, 12u);
    EXPECT_EQ(r.items[3].name, "stop");
}

TEST(RecordingFormat, EveryKindOfLineReadsBack) {
    const Recording r = Parsed(kHead + "# a comment\n\n"
                                       "down 27 fHelp\nup 27\nmenu mGameStart\nclose fMain\n"
                                       "pad-down 39 -\npad-up 39\ndown 13 -\n"
                                       "click fAbout lblHttp 160 -3\nmove fAbout - 0 0\n"
                                       "wheel fHelp -2\ntimer tLastSec\n+5300 msgbox 7\nshell 2\n"
                                       "mci 263\nexists 0 wav/x.wav\ninstance 1\n+150 wave\n"
                                       "file rnd_dat/R1.dat.rnd read 3 AQID\n"
                                       "file rnd_dat/R1.dat.rnd same\nfile a too-large 99999999\n"
                                       "file b missing\nfile c read 0 -\nend 0\n");
    const std::vector<Kind> kinds{
        Kind::KeyDown, Kind::KeyUp, Kind::Menu,   Kind::Close,    Kind::KeyDown, Kind::KeyUp,
        Kind::KeyDown, Kind::Click, Kind::Move,   Kind::Wheel,    Kind::Timer,   Kind::MsgBox,
        Kind::Shell,   Kind::Mci,   Kind::Exists, Kind::Instance, Kind::Wave,    Kind::File,
        Kind::File,    Kind::File,  Kind::File,   Kind::File,     Kind::End};
    ASSERT_EQ(r.items.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(r.items[i].kind, kinds[i]) << i;
    EXPECT_EQ(r.items[0].form, "fHelp");
    EXPECT_FALSE(r.items[0].pad);
    EXPECT_TRUE(r.items[4].pad);
    EXPECT_EQ(r.items[4].form, "-");
    EXPECT_TRUE(r.items[5].pad);
    EXPECT_FALSE(r.items[6].pad);
    EXPECT_EQ(r.items[6].form, "-");
    EXPECT_EQ(r.items[7].name, "lblHttp");
    EXPECT_EQ(r.items[7].y, -3);
    EXPECT_EQ(r.items[11].delta, 5300u);
    EXPECT_EQ(r.items[11].value, 7);
    EXPECT_EQ(r.items[14].name, "wav/x.wav");
    const auto bytes = platform::RecordedFileBytes(r, r.items[17]);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(platform::RecordedFileBytes(r, r.items[18]), bytes); // "same"
    EXPECT_EQ(r.items[19].size, 99999999u);
    EXPECT_TRUE(platform::RecordedFileBytes(r, r.items[21]).empty());
}

TEST(RecordingFormat, FileBytesSurviveBase64OfEveryLength) {
    std::vector<std::uint8_t> bytes;
    for (int n = 0; n < 8; ++n) {
        const std::string data = platform::Base64(bytes);
        const Recording r = Parsed(kHead + "file f read " + std::to_string(n) + " " +
                                   (data.empty() ? "-" : data) + "\n");
        EXPECT_EQ(platform::RecordedFileBytes(r, r.items[0]), bytes) << n;
        bytes.push_back(std::uint8_t(250 - 37 * n));
    }
}

struct BadCase {
    const char* name;
    std::string text;
    const char* says;
};
VEXARO_PRINT_CASE_BY_NAME(BadCase)

class BadRecording : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadRecording, IsRefusedWithOneLineSayingWhy) {
    Recording r;
    std::string error;
    EXPECT_FALSE(ParseRecording(GetParam().text, r, error));
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadRecording,
    ::testing::Values(
        BadCase{"empty", "", "not a Vexaro!! recording"},
        BadCase{"picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", "not a Vexaro!! recording"},
        BadCase{"script", "1100 tap space\n4456 down left\n", "not a Vexaro!! recording"},
        BadCase{"versionZero", "vexaro-recording 0\n", "not a Vexaro!! recording"},
        BadCase{"newer", "vexaro-recording 2\nwarp 9\n",
                "made by a newer Vexaro!! (recording format 2"},
        BadCase{"muchNewer", "vexaro-recording 99999\n", "format 99999; this game plays format 1"},
        BadCase{"badDpi", kHead + "dpi 5000\n", "line 2: dpi needs"},
        BadCase{"badStart", kHead + "start-tick -1\n", "line 2: start-tick needs"},
        BadCase{"unknownLine", kHead + "s 1\njump 3\n", "line 3: unknown \"jump\""},
        BadCase{"headerInBody", kHead + "s 1\ndpi 96\n", "line 3: unknown \"dpi\""},
        BadCase{"zeroCount", kHead + "r 1*0\n", "line 2: bad run \"1*0\""},
        BadCase{"negativeRun", kHead + "s -1\n", "line 2: bad run"},
        BadCase{"hugeDelta", kHead + "r 4294967296*1\n", "line 2: bad run"},
        BadCase{"badPacked", kHead + "r a7Z\n", "line 2: bad run \"a7Z\""},
        BadCase{"emptyRuns", kHead + "r\n", "line 2: a run line needs"},
        BadCase{"badKey", kHead + "down 999\n", "line 2: bad down line"},
        BadCase{"keyWord", kHead + "up space\n", "line 2: bad up line"},
        BadCase{"padForAnotherWindow", kHead + "pad-down 32 fHelp\n", "line 2: bad pad-down line"},
        BadCase{"badClock", kHead + "+x down 32\n", "line 2: bad clock step"},
        BadCase{"clockAlone", kHead + "+3\n", "line 2: a clock step needs"},
        BadCase{"clickShort", kHead + "click fAbout lblHttp 1\n", "line 2: bad click line"},
        BadCase{"badBase64", kHead + "file f read 3 A*ID\n", "not 3 bytes of base64"},
        BadCase{"wrongSize", kHead + "file f read 4 AQID\n", "not 4 bytes of base64"},
        BadCase{"sameFirst", kHead + "file f same\n", "line 2: no earlier read of f"},
        BadCase{"badStatus", kHead + "file f lost\n", "line 2: bad file line"},
        BadCase{"badEnd", kHead + "end soon\n", "line 2: bad end line"},
        BadCase{"afterEnd", kHead + "end 0\ns 1\n", "line 3: nothing may follow the end"},
        BadCase{"tooLong", kHead + "s 0*67108864\nr 0*5\n", "too long to play"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingFormat, AFileCutShortIsNotAFaultButIsNotComplete) {
    const std::string whole = kHead + "s 1\nr 0*3\ndown 32\nend stop\n";
    EXPECT_TRUE(Parsed(whole).complete);
    // Cut after a whole line, or in the middle of one (the broken line is left out).
    const Recording atLine = Parsed(kHead + "s 1\nr 0*3\n");
    EXPECT_FALSE(atLine.complete);
    EXPECT_EQ(atLine.lines, 3);
    const Recording inLine = Parsed(kHead + "s 1\nr 0*3\ndown 3");
    EXPECT_FALSE(inLine.complete);
    EXPECT_EQ(inLine.lines, 3);
    EXPECT_EQ(inLine.items.size(), 1u);
    const Recording inEnd = Parsed(kHead + "s 1\nend sto");
    EXPECT_FALSE(inEnd.complete);
}

TEST(RecordingFormat, LoadingAMissingOrHugeFileSaysSo) {
    Recording r;
    std::string error;
    EXPECT_FALSE(platform::LoadRecording("/nonexistent/x.rec", r, error));
    EXPECT_EQ(error, "cannot read /nonexistent/x.rec");
    EXPECT_FALSE(platform::LoadRecording("/proc/self", r, error)); // a folder
    // Only a regular file is read: a pipe without a writer would hold the game for ever.
    const std::string pipe = test::TempDir("rec-pipe") + "/game.rec";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(platform::LoadRecording(pipe, r, error));
    EXPECT_EQ(error, "cannot read " + pipe);
}

} // namespace
