#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "host/host.h"

namespace {

int Parse(std::vector<std::string> args, HostOptions* out, std::string* error)
{
    args.insert(args.begin(), "zendrolyx");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    return HostParseOptions(int(argv.size()), argv.data(), out, error);
}

TEST(HostOptions, ReadsEveryOption)
{
    HostOptions o;
    std::string error;
    ASSERT_EQ(Parse({"--rom", "r", "--data", "d", "--headless", "--frames", "25", "--seed", "7", "--verbose"}, &o,
                    &error),
              kOptionsRun);
    EXPECT_EQ(o.romDir, "r");
    EXPECT_EQ(o.dataDir, "d");
    EXPECT_EQ(o.headless, 1);
    EXPECT_EQ(o.frameLimit, 25);
    EXPECT_EQ(o.seed, 7u);
    EXPECT_EQ(o.verbose, 1);

    ASSERT_EQ(Parse({"--input", "moves.txt", "--launch", "quick", "--players", "4", "--audio-out", "game.wav",
                     "--test-mode"},
                    &o, &error),
              kOptionsRun);
    EXPECT_EQ(o.testMode, 1);
    EXPECT_EQ(o.audioOut, "game.wav");
    EXPECT_EQ(o.inputScript, "moves.txt");
    EXPECT_EQ(o.launch, "quick");
    EXPECT_EQ(o.players, 4);

    ASSERT_EQ(Parse({}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.frameLimit, -1);
    EXPECT_EQ(o.testMode, 0) << "test mode only when asked for";
    EXPECT_FALSE(o.dataDir.empty());
    EXPECT_EQ(Parse({"--help"}, &o, &error), kOptionsHelp);
}

TEST(HostOptions, RejectsBadInputWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--frames"}, {"--frames", "0"}, {"--frames", "12x"}, {"--frames", "-3"},
        {"--frames", "99999999999999999999"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--rom"}, {"--rom", ""},
        {"headless"}, {"--launch", "league"}, {"--launch"}, {"--players", "0"}, {"--players", "9"}, {"--input", ""},
        {"--audio-out"}, {"--audio-out", ""},
    };
    for (const auto& args : bad) {
        HostOptions o;
        o.seed = 123;
        std::string error;
        EXPECT_EQ(Parse(args, &o, &error), kOptionsError) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
        EXPECT_EQ(o.seed, 123u) << "a rejected command line must not change the options";
    }
}

// The people of a quick game set up their throws with the stylus unless --controls names the
// buttons; the choice needs people to make it.
TEST(HostOptions, ControlsChooseTheButtonsOrTheStylus)
{
    HostOptions o;
    std::string error;
    ASSERT_EQ(Parse({"--launch", "quick", "--humans", "1"}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.buttonControls, 0);
    ASSERT_EQ(Parse({"--launch", "quick", "--humans", "1", "--controls", "buttons"}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.buttonControls, 1);
    ASSERT_EQ(Parse({"--controls", "touch", "--launch", "quick", "--humans", "1"}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.buttonControls, 0);
    // People bowl the mini-games too, never the demonstration game.
    for (const char* mode : {"spares", "bingo", "poker", "pinselect"}) {
        ASSERT_EQ(Parse({"--launch", mode, "--humans", "1", "--controls", "buttons"}, &o, &error), kOptionsRun) << mode;
        EXPECT_EQ(o.launch, mode);
    }
    EXPECT_EQ(Parse({"--launch", "attract", "--humans", "1"}, &o, &error), kOptionsError);

    const std::vector<std::vector<std::string>> bad = {
        {"--launch", "quick", "--humans", "1", "--controls"},
        {"--launch", "quick", "--humans", "1", "--controls", "mouse"},
        {"--launch", "quick", "--humans", "1", "--controls", "Buttons"},
        {"--launch", "quick", "--controls", "buttons"},
        {"--controls", "buttons"},
    };
    for (const auto& args : bad) {
        std::string why;
        EXPECT_EQ(Parse(args, &o, &why), kOptionsError) << args.back();
        EXPECT_NE(why.find("--controls"), std::string::npos) << why;
    }
}

TEST(HostOptions, FrameLimitRaisesTheCloseOrder)
{
    HostResetFrames();
    gHostOptions.frameLimit = 3;
    HostFramePresented();
    HostFramePresented();
    EXPECT_EQ(HostCloseRequested(), 0);
    HostFramePresented();
    EXPECT_EQ(HostCloseRequested(), 1);
    gHostOptions.frameLimit = -1;
    HostResetFrames();
}

// The first SIGTERM or SIGINT is the close order and the program goes on to close; a second one,
// of either kind, while it closes ends it as the signal's default would.
TEST(HostCloseSignals, TheFirstAsksToCloseTheSecondEndsTheProgram)
{
    const int signals[2][2] = {{SIGTERM, SIGTERM}, {SIGINT, SIGTERM}};
    for (const auto& pair : signals) {
        EXPECT_EXIT(
            {
                HostResetFrames();
                HostCatchCloseSignals();
                std::raise(pair[0]);
                if (!HostCloseRequested()) _exit(3);
                std::raise(pair[1]);
                _exit(4);  // still running: the second signal was caught again
            },
            ::testing::KilledBySignal(pair[1]), "");
    }
}

}  // namespace
