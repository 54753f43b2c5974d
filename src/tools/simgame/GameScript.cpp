#include "tools/simgame/GameScript.h"

#include <QFile>
#include <QRegularExpression>
#include <limits>

namespace kesmaro {

namespace {

QString lineError(int line, const QString& what)
{
    return QStringLiteral("line %1: %2").arg(line).arg(what);
}

// A field quoted into a one-line message.
QString quoted(QString text)
{
    for (QChar& ch : text)
        if (ch.category() == QChar::Other_Control || ch.category() == QChar::Other_NotAssigned)
            ch = u'?';
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("...");
    return u'\'' + text + u'\'';
}

bool matches(const QRegularExpression& re, const QString& text)
{
    return re.match(text).hasMatch();
}

} // namespace

GameScript ParseGameScript(const QByteArray& text)
{
    static const QRegularExpression seconds(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,7}(\\.[0-9]{1,3})?")));
    static const QRegularExpression level(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,9}")));
    static const QRegularExpression exp(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,3}(\\.[0-9]{1,2})?")));
    static const QRegularExpression coins(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,19}")));
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));

    GameScript script;
    const auto fail = [&](int line, const QString& what) {
        script.steps.clear();
        script.error = lineError(line, what);
        return script;
    };
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(separators, Qt::SkipEmptyParts);
        if (fields.size() < 4 || fields.size() > 5)
            return fail(number, QStringLiteral("needs SECONDS LEVEL EXP COINS [COIN-AREA], not %1")
                                    .arg(quoted(line)));
        ScriptStep step;
        step.line = number;
        if (!matches(seconds, fields[0]) || fields[0].toDouble() > kMaxScriptSeconds)
            return fail(number, QStringLiteral("seconds must be 0 to %1 with at most three "
                                               "decimals, not %2")
                                    .arg(kMaxScriptSeconds)
                                    .arg(quoted(fields[0])));
        step.atMs = std::llround(fields[0].toDouble() * 1000.0);
        if (!script.steps.empty() && step.atMs < script.steps.back().atMs)
            return fail(number, QStringLiteral("seconds go back from %1 to %2")
                                    .arg(static_cast<double>(script.steps.back().atMs) / 1000.0)
                                    .arg(fields[0]));
        if (!matches(level, fields[1]) || fields[1].toInt() < kMinFrameLevel ||
            fields[1].toInt() > kMaxFrameLevel)
            return fail(number, QStringLiteral("the level must be %1 to %2, not %3")
                                    .arg(kMinFrameLevel)
                                    .arg(kMaxFrameLevel)
                                    .arg(quoted(fields[1])));
        step.level = fields[1].toInt();
        if (!matches(exp, fields[2]) || fields[2].toDouble() > 100.0)
            return fail(number, QStringLiteral("Exp must be a percentage from 0 to 100 with at "
                                               "most two decimals, not %1")
                                    .arg(quoted(fields[2])));
        step.expPercent = fields[2].toDouble();
        bool ok = false;
        step.coins = fields[3].toLongLong(&ok);
        if (!matches(coins, fields[3]) || !ok)
            return fail(number, QStringLiteral("coins must be a whole number from 0 to %1, not %2")
                                    .arg(std::numeric_limits<std::int64_t>::max())
                                    .arg(quoted(fields[3])));
        if (fields.size() == 5) {
            const QString& area = fields[4];
            const std::optional<CoinArea> coinArea = CoinAreaFromName(area);
            if (!coinArea)
                return fail(number, QStringLiteral("the coin area must be 2, 4, both or none, "
                                                   "not %1")
                                        .arg(quoted(area)));
            step.coinArea = *coinArea;
        }
        script.steps.push_back(step);
    }
    return script;
}

GameScript LoadGameScript(const QString& path)
{
    GameScript script;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        script.error = QStringLiteral("cannot read %1").arg(quoted(path));
        return script;
    }
    // A script is a few lines; anything far larger is not one.
    const QByteArray text = file.read(kMaxScriptBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        script.error = QStringLiteral("cannot read %1").arg(quoted(path));
        return script;
    }
    if (text.size() > kMaxScriptBytes) {
        script.error =
            QStringLiteral("%1 is larger than %2 bytes").arg(quoted(path)).arg(kMaxScriptBytes);
        return script;
    }
    script = ParseGameScript(text);
    if (!script.error.isEmpty())
        script.error = quoted(path) + QStringLiteral(" ") + script.error;
    return script;
}

GameFrameSpec ApplyScriptStep(GameFrameSpec current, const ScriptStep& step)
{
    current.level = step.level;
    current.expPercent = step.expPercent;
    current.coins = step.coins;
    if (step.coinArea)
        current.coinArea = *step.coinArea;
    return current;
}

} // namespace kesmaro
