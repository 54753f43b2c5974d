#include "state/GraphBuffer.h"

#include "Amounts.h"
#include "ErrorOf.h"
#include "common/TrappedError.h"
#include "platform/sim/SimClock.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace kesmaro;
using namespace std::chrono;

namespace {

using test::errorOf;

class GraphBufferTest : public ::testing::Test {
protected:
    SimClock m_clock{local_days(year(2024) / 5 / 1) + hours(18), 0};
    clsGraphBuffer m_buffer{m_clock};
};

} // namespace

TEST_F(GraphBufferTest, IndexOutsideTheHistoryIsASubscriptError)
{
    EXPECT_EQ(errorOf([&] { m_buffer.Value(512); }), ErrSubscript);
    EXPECT_EQ(errorOf([&] { m_buffer.Value(-1); }), ErrSubscript);
}

TEST_F(GraphBufferTest, MissingMoneyReadingsLeaveTheMoneyAverageOnly)
{
    struct Row {
        const char* name;
        std::vector<double> ratesM; // oldest first
        Currency aveM;
    };
    const Row rows[] = {
        {"three of ten missing", {-1, 10, 20, -1, 30, 40, 50, -1, 60, 70}, C(280.0 / 7)},
        {"all ten missing", {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, Currency()},
        {"only the newest valid", {-1, -1, -1, -1, -1, -1, -1, -1, -1, 9}, C(9)},
        {"minus two is a value", {-2, -1, -1, -1, -1, -1, -1, -1, -1, 4}, C(1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        clsGraphBuffer buffer(m_clock);
        for (double m : row.ratesM)
            buffer.AddGraphData(C(3), C(m), 10, 20, 0);
        EXPECT_EQ(buffer.Value(0).RateAveM, row.aveM);
        EXPECT_EQ(buffer.Value(0).RateAveE, C(3)); // experience keeps all ten
    }
}

TEST_F(GraphBufferTest, AveragesRoundHalfToEvenAtTheFourthDecimal)
{
    struct Row {
        const char* name;
        std::vector<double> ratesM;
        int aveNum;
        Currency aveM;
    };
    const Row rows[] = {
        {"one third", {1, 0, 0}, 3, C(0.3333)},
        {"two thirds", {1, 1, 0}, 3, C(0.6667)},
        {"half a unit rounds down to even", {0.0001, 0}, 2, Currency::FromRaw(0)},
        {"one and a half units round up to even", {0.0002, 0.0001}, 2, Currency::FromRaw(2)},
        {"window of one is the sample", {7, 9}, 1, C(9)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        clsGraphBuffer buffer(m_clock);
        for (double m : row.ratesM)
            buffer.AddGraphData(C(0), C(m), row.aveNum, 20, 0);
        EXPECT_EQ(buffer.Value(0).RateAveM, row.aveM);
    }
}

TEST_F(GraphBufferTest, RatesAboveTheCapAreStoredAtTheCap)
{
    m_buffer.AddGraphData(C(3000000), C(2147483.5), 10, 20, 0);
    EXPECT_EQ(m_buffer.Value(0).RateE, C(2147483));
    EXPECT_EQ(m_buffer.Value(0).RateM, C(2147483));
    m_buffer.AddGraphData(C(-5000000), C(2147483), 10, 20, 0);
    EXPECT_EQ(m_buffer.Value(0).RateE, C(-5000000)); // no lower bound
    EXPECT_EQ(m_buffer.Value(0).RateM, C(2147483));
}

TEST_F(GraphBufferTest, MaximaRoundHalfToEven)
{
    const struct {
        double rate;
        int max;
    } rows[] = {{2.5, 2}, {3.5, 4}, {2.4999, 2}, {2.5001, 3}, {0.5, 0}, {-1, 0}, {-30, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rate);
        clsGraphBuffer buffer(m_clock);
        buffer.AddGraphData(C(row.rate), C(row.rate), 10, 20, 0);
        EXPECT_EQ(buffer.MaxValueRateE(), row.max);
        EXPECT_EQ(buffer.MaxValueRateM(), row.max);
    }
}

TEST_F(GraphBufferTest, MaximaCoverOnlyTheNewestMaxNumSamples)
{
    m_buffer.AddGraphData(C(50), C(900), 10, 20, 0);
    for (int i = 0; i < 19; ++i)
        m_buffer.AddGraphData(C(1), C(2), 10, 20, 0);
    EXPECT_EQ(m_buffer.MaxValueRateE(), 50);   // the big sample is the 20th newest
    EXPECT_EQ(m_buffer.MaxValueRateAveE(), 6); // (50 + 9) / 10
    m_buffer.AddGraphData(C(1), C(2), 10, 20, 0);
    EXPECT_EQ(m_buffer.MaxValueRateE(), 1);
    EXPECT_EQ(m_buffer.MaxValueRateM(), 2);
    m_buffer.AddGraphData(C(1), C(2), 10, 5000, 0);
    EXPECT_EQ(m_buffer.MaxNum(), 512); // reduced to the history
    EXPECT_EQ(m_buffer.MaxValueRateE(), 50);
}

TEST_F(GraphBufferTest, ShiftMovesSamplesAndPadsWithZeros)
{
    for (int i = 1; i <= 4; ++i)
        m_buffer.AddGraphData(C(i), C(10 * i), 10, 20, 0);
    m_buffer.DataShift(3, 0); // into the past: zero samples in front
    EXPECT_EQ(m_buffer.Value(2).RateE, Currency());
    EXPECT_EQ(m_buffer.Value(3).RateE, C(4));
    EXPECT_EQ(m_buffer.Value(6).RateM, C(10));
    m_buffer.DataShift(4, 1); // towards the present: the newest dropped
    EXPECT_EQ(m_buffer.Value(0).RateE, C(3));
    for (auto [count, direction] : {std::pair{-1, 0}, {-5, 1}, {3, 2}, {3, -1}}) {
        SCOPED_TRACE(testing::Message() << count << ", " << direction);
        m_buffer.DataShift(count, direction);
        EXPECT_EQ(m_buffer.Value(0).RateE, C(3)) << "nothing happens";
    }
    m_buffer.DataShift(600, 1);
    EXPECT_EQ(m_buffer.BufferSize(), 512);
    EXPECT_EQ(m_buffer.Value(511).RateE, Currency());
    EXPECT_EQ(m_buffer.Value(0).RateE, Currency());
}

TEST_F(GraphBufferTest, ResizingKeepsTheNewestAndPadsTheOldEnd)
{
    for (int i = 1; i <= 200; ++i)
        m_buffer.AddGraphData(C(i), C(0), 10, 20, 0);
    m_buffer.setBufferSize(100);
    ASSERT_EQ(m_buffer.BufferSize(), 100);
    EXPECT_EQ(m_buffer.Value(0).RateE, C(200));
    EXPECT_EQ(m_buffer.Value(99).RateE, C(101));

    m_buffer.setBufferSize(100000);
    ASSERT_EQ(m_buffer.BufferSize(), 65535);
    EXPECT_EQ(m_buffer.Value(99).RateE, C(101));
    EXPECT_EQ(m_buffer.Value(100).RateE, Currency());
    EXPECT_EQ(m_buffer.Value(65534).RateE, Currency());
    EXPECT_EQ(errorOf([&] { m_buffer.setBufferSize(0); }), ErrSubscript);
    EXPECT_EQ(m_buffer.BufferSize(), 65535);
}

TEST_F(GraphBufferTest, AveragingWindowIsLimitedToTheHistory)
{
    m_buffer.setBufferSize(4);
    for (int i = 0; i < 3; ++i)
        m_buffer.AddGraphData(C(4), C(8), 10, 20, 0);
    EXPECT_EQ(m_buffer.AveNum(), 4);
    EXPECT_EQ(m_buffer.Value(0).RateAveM, C(6)); // 24 over the four samples held
    EXPECT_EQ(m_buffer.Value(0).RateAveE, C(3));
}

TEST_F(GraphBufferTest, UncheckedWindowsNeverDivideByZero)
{
    for (int aveNum : {0, -1, -2147483647 - 1}) {
        SCOPED_TRACE(aveNum);
        clsGraphBuffer buffer(m_clock);
        buffer.AddGraphData(C(5), C(-1), aveNum, aveNum, 0);
        EXPECT_EQ(buffer.Value(0).RateAveE, Currency());
        EXPECT_EQ(buffer.Value(0).RateAveM, Currency());
        EXPECT_EQ(buffer.MaxValueRateE(), 0);
    }
}
