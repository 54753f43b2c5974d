#include "records/RandomTools.h"

#include "ProgramFixture.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>
#include <set>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

class RandomToolsTest : public test::ProgramFixture {
protected:
    RandomToolsTest() : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30)}) {}
    const QString& logText() const { return p.txtLog.text(); }
};

TEST_F(RandomToolsTest, OneNumberWithinTheAskedBoundAndBothEndsDrawn)
{
    std::set<int> seen;
    for (int i = 0; i < 100; ++i) { // within the 512 lines the log keeps
        sim.numberInput.queue(2);
        const qsizetype before = logText().size();
        menuRandomOne_Click(p);
        const QString added = logText().mid(before);
        const QRegularExpressionMatch m =
            QRegularExpression(u"^\r\n  1 ～ 2 の範囲で、今回の乱数は (\\d+) です\r\n\r\n$"_s)
                .match(added);
        ASSERT_TRUE(m.hasMatch()) << added.toStdString();
        seen.insert(m.captured(1).toInt());
    }
    EXPECT_EQ(seen, (std::set<int>{1, 2}));
    const NumberRequest& asked = sim.numberInput.asked().back();
    EXPECT_EQ(asked.min, "2");
    EXPECT_EQ(asked.max, "32000");
    EXPECT_EQ(asked.initial, 10);
    EXPECT_EQ(asked.step, "1");
    EXPECT_EQ(QString::fromStdString(asked.title), u"らんだまーオンリーONE"_s);
}

TEST_F(RandomToolsTest, NineteenThousandNineHundredAndNinetyNineIsAValueAndCancelWritesNothing)
{
    sim.numberInput.queue(19999);
    menuRandomOne_Click(p);
    EXPECT_TRUE(logText().contains(u"  1 ～ 19999 の範囲で、今回の乱数は "_s))
        << logText().toStdString();
    const QString before = logText();
    menuRandomOne_Click(p); // nothing queued: cancelled
    menuRandomSome_Click(p);
    EXPECT_EQ(logText(), before);
}

TEST_F(RandomToolsTest, APermutationHoldsEveryNumberOnceInRowsOfTen)
{
    for (const int n : {2, 10, 23, 128}) {
        SCOPED_TRACE(n);
        const QString text = RandomSequence(p.random, n, 1, 10, 4);
        const QString header = u"  1 ～ %1 の範囲の乱数列は以下のとおりです\r\n    "_s.arg(n);
        ASSERT_TRUE(text.startsWith(header)) << text.toStdString();
        const QStringList rows = text.mid(header.size()).split(u"\r\n    "_s);
        std::vector<int> numbers;
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QString& row = rows[r];
            EXPECT_EQ(row.size() % 5, 0) << row.toStdString();
            EXPECT_LE(row.size(), 50);
            for (qsizetype i = 0; i < row.size(); i += 5)
                numbers.push_back(row.mid(i, 5).trimmed().toInt());
        }
        // A multiple of ten ends with the break and its indent.
        EXPECT_EQ(rows.back().isEmpty(), n % 10 == 0);
        std::sort(numbers.begin(), numbers.end());
        std::vector<int> expected(static_cast<std::size_t>(n));
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(numbers, expected);
    }
    sim.numberInput.queue(2);
    menuRandomSome_Click(p);
    EXPECT_TRUE(QRegularExpression(u"\r\n  1 ～ 2 の範囲の乱数列は以下のとおりです\r\n    "
                                   u"    [12]    [12]\r\n\r\n$"_s)
                    .match(logText())
                    .hasMatch())
        << logText().toStdString();
}

} // namespace
