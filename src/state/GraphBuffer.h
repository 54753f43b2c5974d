#pragma once

#include "common/Currency.h"
#include "platform/Clock.h"

#include <cstdint>
#include <deque>

namespace kesmaro {

// A date-time as the OLE date the samples keep: days since 1899-12-30, fraction = time of day.
double ToOleDate(LocalDateTime value);

// One sample of the graph history. A new record is all zero (Time 0 = 1899-12-30 00:00).
class clsGraphFormat {
public:
    double Time = 0;
    Currency RateE;
    Currency RateM; // -1 marks a measurement without a money reading
    Currency RateAveE;
    Currency RateAveM;

    void Clear() { *this = clsGraphFormat{}; }
};

// The history of hourly rates the graph draws: newest sample first, a fixed length that only
// BufferSize changes, moving averages per sample and the maxima of the newest samples.
class clsGraphBuffer {
public:
    static constexpr std::int32_t kInitialSize = 512;
    static constexpr std::int32_t kMaximumSize = 65535;
    // Rates above this are stored as this, so that the maxima fit 32-bit integers.
    static constexpr std::int64_t kRateCap = 2147483;

    // `clock` supplies the time of samples added with a time of 0; it must outlive the buffer.
    explicit clsGraphBuffer(const Clock& clock);

    // The stored record itself (index 0 = newest); error 9 when out of range. References stay
    // valid until the record falls off the history.
    clsGraphFormat& Value(std::int32_t index);
    const clsGraphFormat& Value(std::int32_t index) const;

    // Keeps the newest `size` samples or pads with zero records at the old end; at most 65535.
    // Error 9 for a size below 1: the history is never empty.
    void setBufferSize(std::int32_t size);
    std::int32_t BufferSize() const { return static_cast<std::int32_t>(m_list.size()); }

    std::int32_t MaxNum() const { return m_maxNum; }
    std::int32_t AveNum() const { return m_aveNum; }

    // The maxima, rounded half to even to 32-bit integers (error 6 when they do not fit).
    std::int32_t MaxValueTime() const;
    std::int32_t MaxValueRateE() const;
    std::int32_t MaxValueRateM() const;
    std::int32_t MaxValueRateAveE() const;
    std::int32_t MaxValueRateAveM() const;

    // Direction 0 moves the history `count` samples into the past (zero records enter at the
    // newest end), direction 1 towards the present (zero records enter at the oldest end).
    // A negative count or another direction does nothing.
    void DataShift(std::int32_t count, std::int32_t direction);

    // Adds the newest sample: shifts the history, stores the rates (capped at kRateCap), its
    // averages over the newest `aveNum` samples (a rate of exactly -1 is left out of its
    // average) and refreshes the maxima over the newest `maxNum` samples. A time of 0 is now.
    void AddGraphData(Currency rateE, Currency rateM, std::int32_t aveNum, std::int32_t maxNum,
                      double time);

private:
    static clsGraphFormat NewGraphFormat(double time, Currency rateE, Currency rateM,
                                         Currency rateAveE, Currency rateAveM);
    void UpdateMaxValues(std::int32_t n);

    const Clock& m_clock;
    // A deque: front insertions and back removals keep the other records where they are.
    std::deque<clsGraphFormat> m_list;
    clsGraphFormat m_max;
    std::int32_t m_maxNum = 0;
    std::int32_t m_aveNum = 0;
};

} // namespace kesmaro
