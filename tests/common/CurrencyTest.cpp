#include "common/Currency.h"

#include "ErrorOf.h"
#include "common/Numeric.h"
#include "common/TrappedError.h"

#include <cstdint>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

using test::errorOf;

} // namespace

TEST(RoundingTest, HalvesGoToTheEvenNeighbour)
{
    struct Row {
        double in, out;
    };
    for (const Row& r : {Row{0.5, 0}, Row{1.5, 2}, Row{2.5, 2}, Row{3.5, 4}, Row{-0.5, 0},
                         Row{-1.5, -2}, Row{-2.5, -2}, Row{2.4999999, 2}, Row{2.5000001, 3}}) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(RoundHalfEven(r.in), r.out);
    }
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(RoundHalfEven(0.375, 2), 0.38);
}

TEST(RoundingTest, IntFloorsAndBackslashTruncatesAfterRoundingOperands)
{
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(IntDivide(std::int64_t{-7}, std::int64_t{2}), -3);
    EXPECT_EQ(IntDivide(7.5, 2.0), 4); // 7.5 rounds to 8 first
    EXPECT_EQ(IntDivide(6.5, 2.0), 3); // 6.5 rounds to 6 first
    EXPECT_EQ(IntDivide(359.0, 60.0), 5);
    EXPECT_EQ(errorOf([] { IntDivide(1.0, 0.4); }), ErrDivisionByZero); // 0.4 rounds to 0
    EXPECT_EQ(errorOf([] { ToLong(1e19); }), ErrOverflow);
}

TEST(CurrencyTest, ConversionFromDoubleRoundsHalfToEvenAtTheFourthDecimal)
{
    struct Row {
        double in;
        std::int64_t raw;
    };
    // The binary value decides: 2.00025 * 10000 is exactly 20002.5, 0.00015 lies below .5.
    for (const Row& r : {Row{2.00025, 20002}, Row{1.23455, 12346}, Row{5e-05, 0}, Row{-5e-05, 0},
                         Row{0.00015, 1}, Row{12.3456, 123456}, Row{-1.0, -10000}}) {
        SCOPED_TRACE(r.in);
        EXPECT_EQ(Currency::FromDouble(r.in).raw(), r.raw);
    }
}

TEST(CurrencyTest, LeavingTheRangeIsErrorSix)
{
    EXPECT_EQ(errorOf([] { Currency::FromDouble(1e15); }), ErrOverflow);
    EXPECT_EQ(errorOf([] { Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()); }),
              ErrOverflow);
    EXPECT_EQ(errorOf([] { Currency::FromInteger(922337203685478); }), ErrOverflow);
    const Currency max = Currency::FromInteger(922337203685477);
    EXPECT_EQ(errorOf([&] { (void)(max + max); }), ErrOverflow);
    EXPECT_EQ(errorOf([&] { (void)(max * Currency::FromInteger(2)); }), ErrOverflow);
    EXPECT_EQ(errorOf([&] { (void)(-Currency::FromRaw(INT64_MIN)); }), ErrOverflow);
}

TEST(CurrencyTest, ArithmeticIsExactAndProductsRoundHalfEven)
{
    const Currency a = Currency::FromDouble(15.34);
    const Currency b = Currency::FromDouble(12.34);
    EXPECT_EQ((a - b).raw(), 30000);
    // 0.0001 * 0.5 = 0.00005 -> 0; 0.0003 * 0.5 = 0.00015 -> 0.0002
    EXPECT_EQ((Currency::FromRaw(1) * Currency::FromDouble(0.5)).raw(), 0);
    EXPECT_EQ((Currency::FromRaw(3) * Currency::FromDouble(0.5)).raw(), 2);
    EXPECT_EQ((Currency::FromRaw(-3) * Currency::FromDouble(0.5)).raw(), -2);
    EXPECT_DOUBLE_EQ(Currency::FromInteger(3000) / Currency::FromInteger(360), 3000.0 / 360.0);
    EXPECT_EQ(errorOf([] { (void)(Currency::FromInteger(1) / Currency()); }), ErrDivisionByZero);
}

TEST(CurrencyTest, TextShowsOnlyTheNeededDecimals)
{
    EXPECT_EQ(Currency::FromDouble(12.5).toString(), "12.5");
    EXPECT_EQ(Currency::FromDouble(-0.0001).toString(), "-0.0001");
    EXPECT_EQ(Currency::FromInteger(-1).toString(), "-1");
    EXPECT_EQ(Currency().toString(), "0");
    EXPECT_EQ(Currency::FromRaw(INT64_MIN).toString(), "-922337203685477.5808");
}
