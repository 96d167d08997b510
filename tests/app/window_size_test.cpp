#include "app/FramePacer.h"
#include "app/WindowSize.h"

#include <gtest/gtest.h>

namespace {

CommandLine parse(std::initializer_list<const char*> arguments)
{
    std::vector<const char*> argv{"quavero"};
    argv.insert(argv.end(), arguments);
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, SizesAndFullScreen)
{
    CommandLine line = parse({});
    EXPECT_EQ(line.width, 800);
    EXPECT_EQ(line.height, 480);
    EXPECT_FALSE(line.fullScreen);

    line = parse({"1024", "600"});
    EXPECT_EQ(line.width, 1024);
    EXPECT_EQ(line.height, 600);

    EXPECT_TRUE(parse({"800", "480", "f"}).fullScreen);
    EXPECT_FALSE(parse({"800", "480", "F"}).fullScreen);
    EXPECT_FALSE(parse({"800", "480", "full"}).fullScreen);
}

TEST(CommandLine, UnusableSizesKeepTheirDefaults)
{
    for (const char* bad : {"abc", "", "12px", "0", "-640", "99999999999", " 640"}) {
        const CommandLine line = parse({bad, bad});
        EXPECT_EQ(line.width, 800) << '"' << bad << '"';
        EXPECT_EQ(line.height, 480) << '"' << bad << '"';
    }
    // Extra arguments are ignored.
    EXPECT_EQ(parse({"640", "400", "x", "y"}).width, 640);
}

TEST(DesktopClamp, ShrinksToNinetyPercentKeepingTheAspect)
{
    // 1600 x 960 on 1280 x 720: width first to 1152 x 691, then height to 1080 x 648.
    WindowSize size = ClampToDesktop({1600, 960}, 1280, 720);
    EXPECT_EQ(size.width, 1080);
    EXPECT_EQ(size.height, 648);

    size = ClampToDesktop({800, 480}, 1280, 720);
    EXPECT_EQ(size.width, 800);
    EXPECT_EQ(size.height, 480);

    // Exactly at the limit is recomputed, to the same size.
    size = ClampToDesktop({1152, 600}, 1280, 720);
    EXPECT_EQ(size.width, 1152);
    EXPECT_EQ(size.height, 600);
}

TEST(DesktopClamp, NeverYieldsAnEmptyWindow)
{
    WindowSize size = ClampToDesktop({2000000000, 1}, 1280, 720);
    EXPECT_EQ(size.width, 1152);
    EXPECT_EQ(size.height, 1);
    size = ClampToDesktop({1, 2000000000}, 1280, 720);
    EXPECT_GE(size.width, 1);
    EXPECT_EQ(size.height, 648);
    // An unknown desktop size leaves the window alone.
    size = ClampToDesktop({1024, 600}, 0, 0);
    EXPECT_EQ(size.width, 1024);
    EXPECT_EQ(size.height, 600);
}

TEST(FramePacer, SleepsOutTheFrameOnlyWhereSwapsDoNotWait)
{
    constexpr int64_t frame = TFramePacer::DefaultFrameNanoseconds;
    TFramePacer pacer;
    pacer.Restart(false, 0);
    EXPECT_EQ(pacer.WakeTime(4000000), frame);
    // A late wake-up shortens the next frame; an overrun frame starts the count afresh.
    EXPECT_EQ(pacer.WakeTime(frame + 9000000), 2 * frame);
    EXPECT_EQ(pacer.WakeTime(5 * frame), 5 * frame);
    pacer.Restart(true, 0);
    // Swaps that wait are left alone, unless they come faster than any display
    // refreshes: then the driver ignores the interval.
    for (int64_t now = 1000000; now <= TFramePacer::FastSwapsToDistrust * 1000000; now += 1000000)
        EXPECT_EQ(pacer.WakeTime(now), now < TFramePacer::FastSwapsToDistrust * 1000000 ? now : now + frame);
}

} // namespace
