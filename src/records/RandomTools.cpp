#include "records/RandomTools.h"

#include "common/Numeric.h"
#include "common/Random.h"
#include "records/InputCheckBox.h"
#include "state/Program.h"

#include <cmath>
#include <vector>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

const QString kLineEnd = u"\r\n"_s;

std::optional<std::int32_t> askWhole(Program& p, const QString& max, double ini, const QString& msg,
                                     const QString& title)
{
    const std::optional<double> answer =
        InputCheckBox(p.services.numberInput, u"2"_s, max, ini, u"1"_s, msg, title);
    if (!answer || !std::isfinite(*answer))
        return std::nullopt;
    return std::int32_t(RoundHalfEven(*answer));
}

} // namespace

std::int32_t RandomInt(RandomGenerator& random, std::int32_t range, std::int32_t low)
{
    return low + std::int32_t(std::floor(random.next() * range));
}

QString RandomSequence(RandomGenerator& random, std::int32_t high, std::int32_t low,
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
    const QString blanks(indent, u' ');
    QString text =
        u"  %1 ～ %2 の範囲の乱数列は以下のとおりです"_s.arg(low).arg(high) + kLineEnd + blanks;
    for (std::int32_t i = low; i <= high; ++i) {
        text += QString::number(order[std::size_t(i)]).rightJustified(5);
        if (perLine > 0 && i % perLine == 0)
            text += kLineEnd + blanks;
    }
    return text;
}

void menuRandomOne_Click(Program& p)
{
    // 19999 is a bound like any other here: only a real cancel stops.
    const std::optional<std::int32_t> n = askWhole(
        p, u"32000"_s, 10, u"乱数の上限値を入力してください"_s, u"らんだまーオンリーONE"_s);
    if (!n)
        return;
    const std::int32_t r = RandomInt(p.random, *n, 1);
    p.txtLog.AppendToTextBox(kLineEnd +
                                 u"  1 ～ %1 の範囲で、今回の乱数は %2 です"_s.arg(*n).arg(r) +
                                 kLineEnd + kLineEnd,
                             512, true);
}

void menuRandomSome_Click(Program& p)
{
    const std::optional<std::int32_t> n = askWhole(
        p, u"128"_s, 6, u"乱数の個数を入力してください"_s, u"らんだまーステキなサムシング"_s);
    if (!n)
        return;
    p.txtLog.AppendToTextBox(
        kLineEnd + RandomSequence(p.random, *n, 1, 10, 4) + kLineEnd + kLineEnd, 512, true);
}

} // namespace kesmaro
