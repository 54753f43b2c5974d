#include "state/GraphBuffer.h"

#include "common/Numeric.h"
#include "common/TrappedError.h"

#include <algorithm>
#include <cmath>

namespace kesmaro {

namespace {

std::int32_t ToInt32(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        Raise(ErrOverflow);
    return static_cast<std::int32_t>(r);
}

// The mean of raw fixed-point units, rounded half to even at the fourth decimal.
Currency AverageOf(double rawSum, std::int32_t divisor)
{
    return Currency::FromRaw(ToLong(rawSum / divisor));
}

} // namespace

double ToOleDate(LocalDateTime value)
{
    using namespace std::chrono;
    constexpr auto epoch = local_days(year(1899) / 12 / 30);
    return duration<double, days::period>(value - epoch).count();
}

clsGraphBuffer::clsGraphBuffer(const Clock& clock) : m_clock(clock)
{
    m_list.assign(kInitialSize, NewGraphFormat(0, {}, {}, {}, {}));
    m_max.Clear();
}

clsGraphFormat clsGraphBuffer::NewGraphFormat(double time, Currency rateE, Currency rateM,
                                              Currency rateAveE, Currency rateAveM)
{
    clsGraphFormat record;
    record.Time = time;
    record.RateE = rateE;
    record.RateM = rateM;
    record.RateAveE = rateAveE;
    record.RateAveM = rateAveM;
    return record;
}

clsGraphFormat& clsGraphBuffer::Value(std::int32_t index)
{
    if (index < 0 || index >= BufferSize())
        Raise(ErrSubscript);
    return m_list[static_cast<std::size_t>(index)];
}

const clsGraphFormat& clsGraphBuffer::Value(std::int32_t index) const
{
    if (index < 0 || index >= BufferSize())
        Raise(ErrSubscript);
    return m_list[static_cast<std::size_t>(index)];
}

void clsGraphBuffer::setBufferSize(std::int32_t size)
{
    if (size < 1)
        Raise(ErrSubscript);
    m_list.resize(static_cast<std::size_t>(std::min(size, kMaximumSize)));
}

std::int32_t clsGraphBuffer::MaxValueTime() const
{
    return ToInt32(m_max.Time);
}

std::int32_t clsGraphBuffer::MaxValueRateE() const
{
    return ToInt32(m_max.RateE.toDouble());
}

std::int32_t clsGraphBuffer::MaxValueRateM() const
{
    return ToInt32(m_max.RateM.toDouble());
}

std::int32_t clsGraphBuffer::MaxValueRateAveE() const
{
    return ToInt32(m_max.RateAveE.toDouble());
}

std::int32_t clsGraphBuffer::MaxValueRateAveM() const
{
    return ToInt32(m_max.RateAveM.toDouble());
}

void clsGraphBuffer::DataShift(std::int32_t count, std::int32_t direction)
{
    if (count < 0)
        return;
    count = std::min(count, BufferSize());
    if (direction == 0) {
        for (std::int32_t i = 0; i < count; ++i) {
            m_list.pop_back();
            m_list.push_front(clsGraphFormat{});
        }
    } else if (direction == 1) {
        for (std::int32_t i = 0; i < count; ++i) {
            m_list.pop_front();
            m_list.push_back(clsGraphFormat{});
        }
    }
}

void clsGraphBuffer::AddGraphData(Currency rateE, Currency rateM, std::int32_t aveNum,
                                  std::int32_t maxNum, double time)
{
    DataShift(1, 0);
    if (time == 0)
        time = ToOleDate(m_clock.Now());
    aveNum = std::min(aveNum, BufferSize());
    const Currency cap = Currency::FromInteger(kRateCap);
    rateE = std::min(rateE, cap);
    rateM = std::min(rateM, cap);

    clsGraphFormat& newest = m_list.front();
    newest.Time = time;
    newest.RateE = rateE;
    newest.RateM = rateM;

    // Sums of the raw fixed-point units: exact for any realistic rate, and a double cannot
    // overflow however large an unchecked window is.
    const Currency skipped = Currency::FromInteger(-1);
    double sumE = 0;
    double sumM = 0;
    std::int32_t divisorE = aveNum;
    std::int32_t divisorM = aveNum;
    for (std::int32_t i = 0; i < aveNum; ++i) {
        const clsGraphFormat& sample = m_list[static_cast<std::size_t>(i)];
        if (sample.RateE == skipped)
            --divisorE;
        else
            sumE += static_cast<double>(sample.RateE.raw());
        if (sample.RateM == skipped)
            --divisorM;
        else
            sumM += static_cast<double>(sample.RateM.raw());
    }
    // A window of 0 or less (an unchecked GraphAveNum) averages nothing rather than dividing.
    if (divisorE > 0)
        newest.RateAveE = AverageOf(sumE, divisorE);
    if (divisorM > 0)
        newest.RateAveM = AverageOf(sumM, divisorM);
    m_aveNum = aveNum;
    UpdateMaxValues(maxNum);
}

void clsGraphBuffer::UpdateMaxValues(std::int32_t n)
{
    m_max.Clear();
    n = std::min(n, BufferSize());
    for (std::int32_t i = 0; i < n; ++i) {
        const clsGraphFormat& sample = m_list[static_cast<std::size_t>(i)];
        m_max.Time = std::max(m_max.Time, sample.Time);
        m_max.RateE = std::max(m_max.RateE, sample.RateE);
        m_max.RateM = std::max(m_max.RateM, sample.RateM);
        m_max.RateAveE = std::max(m_max.RateAveE, sample.RateAveE);
        m_max.RateAveM = std::max(m_max.RateAveM, sample.RateAveM);
    }
    m_maxNum = n;
}

} // namespace kesmaro
