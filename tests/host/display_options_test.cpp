// The display options: --screenshot, --out, --scale and --view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/gpu.h"
#include "host/host.h"

namespace {

int Parse(std::vector<std::string> args, HostOptions* out, std::string* error)
{
    args.insert(args.begin(), "zendrolyx");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    return HostParseOptions(int(argv.size()), argv.data(), out, error);
}

TEST(HostDisplayOptions, ReadsScreenshotsScaleAndView)
{
    HostOptions o;
    std::string error;
    ASSERT_EQ(Parse({"--screenshot", "0,60,600", "--out", "shots", "--scale", "3", "--view", "anaglyph"}, &o, &error),
              kOptionsRun);
    EXPECT_EQ(o.screenshotFrames, std::vector<long>({0, 60, 600}));
    EXPECT_EQ(o.screenshotDir, "shots");
    EXPECT_EQ(o.scale, 3);
    EXPECT_EQ(o.view, kGpuViewAnaglyph);
    ASSERT_EQ(Parse({"--view", "right", "--screenshot", "5"}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.view, kGpuViewRight);
    EXPECT_EQ(o.screenshotFrames, std::vector<long>({5}));
    ASSERT_EQ(Parse({}, &o, &error), kOptionsRun);
    EXPECT_EQ(o.scale, 2);
    EXPECT_EQ(o.view, kGpuViewLeft);
    EXPECT_TRUE(o.screenshotFrames.empty());
}

TEST(HostDisplayOptions, RejectsBadValuesWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--screenshot"}, {"--screenshot", ""}, {"--screenshot", "1,,2"}, {"--screenshot", "1,"},
        {"--screenshot", "-1"}, {"--screenshot", "ten"}, {"--out"}, {"--out", ""}, {"--scale", "0"},
        {"--scale", "9"}, {"--scale", "2x"}, {"--view", "both"}, {"--view"},
    };
    for (const auto& args : bad) {
        HostOptions o;
        std::string error;
        EXPECT_EQ(Parse(args, &o, &error), kOptionsError) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
