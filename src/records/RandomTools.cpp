#include "records/RandomTools.h"

#include "common/Numeric.h"
#include "common/Random.h"
#include "records/InputCheckBox.h"
#include "state/Program.h"

#include <cmath>
#include <string>
#include <vector>

namespace kesmaro {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::optional<std::int32_t> askWhole(Program& p, std::string_view max, double ini,
                                     std::string_view msg, std::string_view title)
{
    const std::optional<double> answer =
        InputCheckBox(p.services.numberInput, "2", max, ini, "1", msg, title);
    if (!answer || !std::isfinite(*answer))
        return std::nullopt;
    return std::int32_t(RoundHalfEven(*answer));
}

} // namespace

std::int32_t RandomInt(RandomGenerator& random, std::int32_t range, std::int32_t low)
{
    return low + std::int32_t(std::floor(random.next() * range));
}

std::string RandomSequence(RandomGenerator& random, std::int32_t high, std::int32_t low,
                           std::int32_t perLine, std::int32_t indent)
{
    const std::size_t size = std::size_t(std::max(high, 0)) + 1;
    std::vector<std::int32_t> order(size, 0);
    std::vector<bool> used(size, false);
    for (std::int32_t i = low; i <= high; ++i) {
        std::int32_t r = 0;
        do {
            r = RandomInt(random, high, low);
        } while (used[std::size_t(r)]);
        order[std::size_t(i)] = r;
        used[std::size_t(r)] = true;
    }
    const std::string blanks(std::size_t(std::max(indent, 0)), ' ');
    std::string text = "  " + std::to_string(low) + " ～ " + std::to_string(high) +
                       " の範囲の乱数列は以下のとおりです";
    text.append(kLineEnd).append(blanks);
    for (std::int32_t i = low; i <= high; ++i) {
        // Digits and a sign only, so bytes count the field's characters.
        const std::string number = std::to_string(order[std::size_t(i)]);
        if (number.size() < 5)
            text.append(5 - number.size(), ' ');
        text += number;
        if (perLine > 0 && i % perLine == 0)
            text.append(kLineEnd).append(blanks);
    }
    return text;
}

void menuRandomOne_Click(Program& p)
{
    // 19999 is a bound like any other here: only a real cancel stops.
    const std::optional<std::int32_t> n =
        askWhole(p, "32000", 10, "乱数の上限値を入力してください", "らんだまーオンリーONE");
    if (!n)
        return;
    const std::int32_t r = RandomInt(p.random, *n, 1);
    const std::string text = std::string(kLineEnd) + "  1 ～ " + std::to_string(*n) +
                             " の範囲で、今回の乱数は " + std::to_string(r) + " です" +
                             std::string(kLineEnd) + std::string(kLineEnd);
    p.txtLog.AppendToTextBox(text, 512, true);
}

void menuRandomSome_Click(Program& p)
{
    const std::optional<std::int32_t> n =
        askWhole(p, "128", 6, "乱数の個数を入力してください", "らんだまーステキなサムシング");
    if (!n)
        return;
    const std::string text = std::string(kLineEnd) + RandomSequence(p.random, *n, 1, 10, 4) +
                             std::string(kLineEnd) + std::string(kLineEnd);
    p.txtLog.AppendToTextBox(text, 512, true);
}

} // namespace kesmaro
