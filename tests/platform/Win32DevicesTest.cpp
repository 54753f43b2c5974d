// The Windows beeper, shell and system facts that run without a user: no box is shown and no
// document is opened here.
#include "platform/win32/Win32Devices.h"

#include "platform/win32/ToneTimeline.h"
#include "platform/win32/Win32ClockScheduler.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace kesmaro;

namespace {

bool IsDecimal(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool IsStamp(const std::string& text)
{
    return text.size() == 14 && IsDecimal(text) && text.compare(0, 2, "20") == 0;
}

} // namespace

TEST(Win32BeeperTest, TonesReturnAtOnceAndQueueUpToTheEnd)
{
    Win32Clock clock;
    const std::int64_t start = clock.TickMs();
    {
        Win32Beeper beeper;
        beeper.Tone(880, 300);
        beeper.Tone(440, 300);
        beeper.Tone(0, 100); // out of Beep's range: ignored
        beeper.Tone(40'000, 100);
        beeper.Tone(440, -1);
        beeper.SystemBeep();
        EXPECT_LT(clock.TickMs() - start, 200);
    } // the player ends without waiting for the queue
}

TEST(ToneTimelineTest, PausesBetweenCallsStayPausesWhenTonesOutlastThem)
{
    ToneTimeline timeline;
    // A gesture's "two quick beeps": 75 ms tones asked for 50 ms apart stay two beeps with
    // 50 ms of silence between them, not one 150 ms tone.
    EXPECT_EQ(timeline.place(1000, 75), 1000);
    EXPECT_EQ(timeline.place(1050, 75), 1125);
    // The group gap after it (500 ms) is kept from the end of the delayed tone.
    EXPECT_EQ(timeline.place(1550, 75), 1700);
    // A call a while later is no part of that rhythm and starts at once.
    EXPECT_EQ(timeline.place(5000, 200), 5000);
    // Calls made together (no pause) play back to back.
    EXPECT_EQ(timeline.place(5000, 200), 5200);
    EXPECT_EQ(timeline.place(5000, 200), 5400);
}

TEST(Win32ShellTest, RequestsThatCannotBeMadeAreRefused)
{
    Win32Shell shell;
    EXPECT_FALSE(shell.OpenDocument(""));
    EXPECT_FALSE(shell.OpenDocument("Z:\\no such folder\\記録.csv"));
    EXPECT_FALSE(shell.OpenUrl(""));
    EXPECT_FALSE(shell.Launch(""));
    EXPECT_FALSE(shell.Launch("C:\\no such folder\\companion tool.exe"));
    // A quote would end the quoted program name and start arguments.
    EXPECT_FALSE(shell.Launch("C:\\Windows\\notepad.exe\" /p \"x"));
}

TEST(Win32SystemInfoTest, TheFactsTheSystemGivesAreFilled)
{
    const SystemFacts facts = Win32SystemInfo().Facts();
    EXPECT_FALSE(facts.osCaption.empty());
    EXPECT_EQ(facts.osVersion.find_first_not_of("0123456789."), std::string::npos);
    EXPECT_EQ(std::count(facts.osVersion.begin(), facts.osVersion.end(), '.'), 2);
    EXPECT_TRUE(IsDecimal(facts.servicePackMajor));
    EXPECT_TRUE(IsStamp(facts.localDateTime)) << facts.localDateTime;
    EXPECT_TRUE(IsStamp(facts.lastBootUpTime)) << facts.lastBootUpTime;
    EXPECT_LE(facts.lastBootUpTime, facts.localDateTime);

    for (const std::string* kb :
         {&facts.freePhysicalMemoryKb, &facts.totalVisibleMemoryKb, &facts.freeVirtualMemoryKb,
          &facts.totalVirtualMemoryKb, &facts.memoryLoadPercent, &facts.availablePhysicalBytes})
        EXPECT_TRUE(IsDecimal(*kb)) << *kb;
    EXPECT_LE(std::stoull(facts.freePhysicalMemoryKb), std::stoull(facts.totalVisibleMemoryKb));
    EXPECT_EQ(std::stoull(facts.availablePhysicalBytes) / 1024,
              std::stoull(facts.freePhysicalMemoryKb));
    EXPECT_LE(std::stoi(facts.memoryLoadPercent), 100);

    ASSERT_FALSE(facts.processors.empty());
    EXPECT_FALSE(facts.processors.front().name.empty());
    EXPECT_TRUE(IsDecimal(facts.processors.front().revision));
    for (const auto& cache : facts.caches) {
        EXPECT_TRUE(IsDecimal(cache.maxCacheSizeKb));
        EXPECT_EQ(cache.purpose.back(), 'e') << cache.purpose; // "L2 Cache"
    }
}
