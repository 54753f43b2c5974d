#include "screenshots/LevelUpCheck.h"

#include "ProgramFixture.h"
#include "common/Files.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

class LevelUpCheckTest : public test::ProgramFixture {
protected:
    LevelUpCheckTest() : ProgramFixture({.start = test::At(2024, 5, 1, 10), .defaults = true})
    {
        p.LogStartStamp = "202405011000";
        show("35", "", "1000");
    }
    // One tick of the check with the Exp area showing `exp` (empty: nothing readable).
    void reading(const char* exp)
    {
        show("35", exp, "1000");
        timDoHLInterval_Timer(p);
    }
    std::vector<std::string> shots() const
    {
        std::vector<std::string> names;
        std::error_code missing;
        const std::filesystem::path folder = PathFromUtf8(dir.file("ss"));
        for (const auto& entry : std::filesystem::directory_iterator(folder, missing))
            if (entry.is_regular_file())
                names.push_back(PathToUtf8(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST_F(LevelUpCheckTest, NothingIsTakenWithoutAnArmingRiseOrAReading)
{
    p.measurement.DoHLTrack = {}; // as after a change of character
    reading("0.00");
    reading(""); // covered Exp bar: no change recorded
    EXPECT_EQ(p.measurement.DoHLReadExp, Currency::FromInteger(-1));
    reading("0.00");
    EXPECT_TRUE(shots().empty());
    reading("12.00"); // a rise from 0 arms the check
    EXPECT_EQ(p.measurement.DoHLTrack[3], Currency::FromInteger(12));
}

TEST_F(LevelUpCheckTest, ChecksOnlyDuringARunInFrontAndOutsideCaptures)
{
    reading("45.80");
    background();
    reading("1.00");
    p.measurement.CaptureBusy = true;
    foreground();
    reading("1.00");
    p.measurement.CaptureBusy = false;
    p.LogStartStamp.clear();
    reading("1.00");
    EXPECT_TRUE(shots().empty());
    EXPECT_EQ(p.measurement.DoHLTrack[0], Currency::FromDouble(45.8));
}
