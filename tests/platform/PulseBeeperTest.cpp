#include "platform/pulse/PulseBeeper.h"

#include "platform/pulse/PulseProbe.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace kesmaro;

TEST(PulseBeeperSamplesTest, ToneIsASineOfTheRightLengthThatFadesInAndOut)
{
    struct Row {
        int hz, ms;
        std::size_t count;
    } rows[] = {{500, 75, 3307}, {2000, 75, 3307}, {500, 200, 8820}, {2000, 200, 8820}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.hz << " Hz " << row.ms << " ms");
        const auto samples = PulseBeeper::Samples(row.hz, row.ms);
        ASSERT_EQ(samples.size(), row.count);
        EXPECT_EQ(samples.front(), 0);
        EXPECT_LE(std::abs(samples.back()), 200);
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        EXPECT_GT(*high, 15000);
        EXPECT_LT(*low, -15000);
        // Zero crossings tell the frequency: two per period.
        int crossings = 0;
        for (std::size_t i = 1; i < samples.size(); ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        const double periods = row.hz * row.ms / 1000.0;
        EXPECT_NEAR(crossings / 2.0, periods, 2.0);
    }
}

TEST(PulseBeeperSamplesTest, ValuesOutsideTheRangeGiveSilenceOrNothing)
{
    EXPECT_TRUE(PulseBeeper::Samples(500, 0).empty());
    EXPECT_TRUE(PulseBeeper::Samples(500, -5).empty());
    // Overlong tones are cut to 5 s.
    EXPECT_EQ(PulseBeeper::Samples(500, 3600000).size(), 5u * 44100u);
    for (const int hz : {0, -100, 22050, 1000000}) {
        SCOPED_TRACE(hz);
        const auto samples = PulseBeeper::Samples(hz, 10);
        EXPECT_EQ(samples.size(), 441u);
        EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](auto s) { return s == 0; }));
    }
}

TEST(PulseBeeperTest, WithoutASoundServerToneIsSilentAndHarmless)
{
    ::testing::internal::CaptureStderr();
    {
        PulseBeeper beeper({}, "unix:/nonexistent/kesmaro-no-sound-server");
        beeper.Tone(500, 75);
        beeper.Tone(2000, 200);
        beeper.Tone(0, 100);
        beeper.Tone(440, -1);
        beeper.SystemBeep();
        beeper.Drain();
        EXPECT_FALSE(SoundServerReachable("unix:/nonexistent/kesmaro-no-sound-server"));
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(PulseBeeperTest, SystemBeepRingsTheGivenBell)
{
    int rings = 0;
    PulseBeeper beeper([&] { ++rings; }, "unix:/nonexistent/kesmaro-no-sound-server");
    beeper.SystemBeep();
    beeper.SystemBeep();
    EXPECT_EQ(rings, 2);
}

TEST(PulseBeeperTest, DestroyingWithTonesPendingReturns)
{
    PulseBeeper beeper({}, "unix:/nonexistent/kesmaro-no-sound-server");
    for (int i = 0; i < 100; ++i)
        beeper.Tone(500, 5000);
}
