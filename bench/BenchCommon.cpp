#include "common/Cp932.h"
#include "common/Format.h"
#include "common/StringBuffer.h"

#include <benchmark/benchmark.h>

using namespace kesmaro;

// The record line and text-log line are ~10 FormatColumn calls per measurement.
static void BM_FormatColumnNumber(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatColumn(1234567, 12, 1, 0, false));
}
BENCHMARK(BM_FormatColumnNumber);

static void BM_FormatColumnDecimals(benchmark::State& state)
{
    const Currency value = Currency::FromDouble(30.1234);
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatColumn(value, 11, 1, 2, false));
}
BENCHMARK(BM_FormatColumnDecimals);

static void BM_EncodeCp932Line(benchmark::State& state)
{
    const std::string line = "2024/05/01 12:00:00      35      3.00%       3,000    6.0  "
                             "   30.00%        30.0 給与明細";
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeCp932(line));
}
BENCHMARK(BM_EncodeCp932Line);

// A column text of a 179-column region: 179 pieces of 4 characters.
static void BM_StringBufferColumnText(benchmark::State& state)
{
    const std::string piece = "01FF";
    for (auto _ : state) {
        clsStringBuffer b;
        for (int i = 0; i < 179; ++i)
            b.Append(piece);
        benchmark::DoNotOptimize(b.Text());
    }
}
BENCHMARK(BM_StringBufferColumnText);

BENCHMARK_MAIN();
