#include "tools/simgame/SimGameArguments.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <limits>

namespace kesmaro {

namespace {

constexpr qsizetype kMaxClassLength = 255;

// An argument quoted into a one-line message.
QString quoted(QString text)
{
    for (QChar& ch : text)
        if (ch.category() == QChar::Other_Control)
            ch = u'?';
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("...");
    return u'\'' + text + u'\'';
}

bool matches(const QString& pattern, const QString& text, QRegularExpressionMatch* match = nullptr)
{
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    QRegularExpressionMatch m = re.match(text);
    if (match)
        *match = m;
    return m.hasMatch();
}

QString parseValue(const QString& option, const QString& value, SimGameCommand& command)
{
    GameFrameSpec& frameSpec = command.frameSpec;
    if (option == u"--render") {
        if (value.isEmpty())
            return QStringLiteral("--render needs a file name");
        command.output = value;
        command.mode = SimGameCommand::Mode::Render;
    } else if (option == u"--level") {
        if (!matches(QStringLiteral("[0-9]{1,9}"), value) || value.toInt() < kMinFrameLevel ||
            value.toInt() > kMaxFrameLevel)
            return QStringLiteral("--level must be a whole number from %1 to %2, not %3")
                .arg(kMinFrameLevel)
                .arg(kMaxFrameLevel)
                .arg(quoted(value));
        frameSpec.level = value.toInt();
    } else if (option == u"--exp") {
        if (!matches(QStringLiteral("[0-9]{1,3}(\\.[0-9]{1,2})?"), value) ||
            value.toDouble() > 100.0)
            return QStringLiteral(
                       "--exp must be a percentage from 0 to 100 with at most two decimals, "
                       "not %1")
                .arg(quoted(value));
        frameSpec.expPercent = value.toDouble();
    } else if (option == u"--coins") {
        bool ok = false;
        const qlonglong coins = value.toLongLong(&ok);
        if (!matches(QStringLiteral("[0-9]{1,19}"), value) || !ok)
            return QStringLiteral("--coins must be a whole number from 0 to %1, not %2")
                .arg(std::numeric_limits<std::int64_t>::max())
                .arg(quoted(value));
        frameSpec.coins = coins;
    } else if (option == u"--coin-area") {
        const std::optional<CoinArea> area = CoinAreaFromName(value);
        if (!area)
            return QStringLiteral("--coin-area must be 2, 4, both or none, not %1")
                .arg(quoted(value));
        frameSpec.coinArea = *area;
    } else if (option == u"--colour") {
        const std::optional<InterfaceColour> colour = ColourFromName(value);
        if (!colour)
            return QStringLiteral("--colour must be yellow, red, blue or white, not %1")
                .arg(quoted(value));
        frameSpec.colour = *colour;
    } else if (option == u"--hide") {
        for (const QString& part : value.split(u','))
            if (part == u"level")
                command.frameSpec.hideLevel = true;
            else if (part == u"exp")
                command.frameSpec.hideExp = true;
            else
                return QStringLiteral("--hide takes level, exp or level,exp, not %1")
                    .arg(quoted(value));
    } else if (option == u"--class") {
        // Both strings of WM_CLASS are NUL-terminated Latin-1 text.
        const bool printable = std::all_of(value.begin(), value.end(), [](QChar ch) {
            return ch.unicode() >= 0x20 && ch.unicode() <= 0xFF && ch.unicode() != 0x7F;
        });
        if (value.isEmpty() || value.size() > kMaxClassLength || !printable)
            return QStringLiteral("--class must be 1 to %1 printable Latin-1 characters, not %2")
                .arg(kMaxClassLength)
                .arg(quoted(value));
        command.windowClass = value;
    } else if (option == u"--script") {
        if (value.isEmpty())
            return QStringLiteral("--script needs a file name");
        command.script = value;
    } else if (option == u"--seed") {
        bool ok = false;
        const qulonglong seed = value.toULongLong(&ok);
        if (!matches(QStringLiteral("[0-9]{1,20}"), value) || !ok)
            return QStringLiteral("--seed must be a whole number from 0 to %1, not %2")
                .arg(std::numeric_limits<std::uint64_t>::max())
                .arg(quoted(value));
        command.playOptions.seed = seed;
    } else if (option == u"--exp-rate") {
        if (!matches(QStringLiteral("[0-9]{1,3}(\\.[0-9]{1,2})?"), value) ||
            value.toDouble() > kMaxExpRate)
            return QStringLiteral("--exp-rate must be a percentage per minute from 0 to %1 with "
                                  "at most two decimals, not %2")
                .arg(kMaxExpRate)
                .arg(quoted(value));
        command.playOptions.expPerMinute = value.toDouble();
    } else if (option == u"--coin-rate") {
        if (!matches(QStringLiteral("[0-9]{1,10}"), value) || value.toLongLong() > kMaxCoinRate)
            return QStringLiteral("--coin-rate must be a whole number of coins per minute from 0 "
                                  "to %1, not %2")
                .arg(kMaxCoinRate)
                .arg(quoted(value));
        command.playOptions.coinsPerMinute = value.toLongLong();
    } else if (option == u"--at") {
        QRegularExpressionMatch m;
        if (!matches(QStringLiteral("(level|exp|coins)=([0-9]{1,4}),([0-9]{1,4})"), value, &m))
            return QStringLiteral("--at must be level=X,Y, exp=X,Y or coins=X,Y, not %1")
                .arg(quoted(value));
        static const QStringList names = {QStringLiteral("level"), QStringLiteral("exp"),
                                          QStringLiteral("coins")};
        auto& at = frameSpec.at[static_cast<std::size_t>(names.indexOf(m.captured(1)))];
        if (at)
            return QStringLiteral("--at %1 is given more than once").arg(m.captured(1));
        at = QPoint(m.captured(2).toInt(), m.captured(3).toInt());
    } else if (option == u"--size") {
        QRegularExpressionMatch m;
        if (!matches(QStringLiteral("([0-9]{1,5})x([0-9]{1,5})"), value, &m))
            return QStringLiteral("--size must be WIDTHxHEIGHT, not %1").arg(quoted(value));
        frameSpec.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
    }
    return {};
}

} // namespace

QString SimGameUsage()
{
    return QStringLiteral(
        "usage: kesmaro-simgame [--class NAME] [--script FILE | --play [--seed N]\n"
        "                       [--exp-rate P] [--coin-rate N]] [--level N] [--exp P]\n"
        "                       [--coins N] [frame options]\n"
        "       kesmaro-simgame --render OUT.png --level N --exp P --coins N [frame options]\n"
        "       kesmaro-simgame -h | --help\n"
        "A stand-in for the game: a window of class \"Gamebryo Application\" that draws the\n"
        "level, the Exp percentage and the coins in the game's glyphs at the default capture\n"
        "areas, or one such frame written as a PNG file.\n"
        "\n"
        "  --class NAME          the window's class (both strings of WM_CLASS)\n"
        "  --script FILE         timed values, one step a line: SECONDS LEVEL EXP COINS\n"
        "  --play                a simulated player; --seed, --exp-rate (%/min), --coin-rate\n"
        "  --render OUT.png      write one frame instead of showing a window\n"
        "frame options:\n"
        "  --coin-area 2|4|both|none   where the coins are drawn (default 2)\n"
        "  --window-mode               the window-mode positions\n"
        "  --colour yellow|red|blue|white   the interface colour of the Exp glyphs\n"
        "  --size WxH                  the frame's size\n"
        "  --hide level|exp|level,exp  leave numbers out\n"
        "  --at level|exp|coins=X,Y    draw a number elsewhere\n");
}

SimGameCommand ParseSimGameArguments(const QStringList& arguments)
{
    static const QStringList valued = {
        QStringLiteral("--render"),    QStringLiteral("--level"),     QStringLiteral("--exp"),
        QStringLiteral("--coins"),     QStringLiteral("--coin-area"), QStringLiteral("--colour"),
        QStringLiteral("--size"),      QStringLiteral("--hide"),      QStringLiteral("--class"),
        QStringLiteral("--script"),    QStringLiteral("--seed"),      QStringLiteral("--exp-rate"),
        QStringLiteral("--coin-rate"), QStringLiteral("--at")};
    static const QStringList flags = {QStringLiteral("--window-mode"), QStringLiteral("--play")};
    SimGameCommand command;
    QSet<QString> seen;
    const auto fail = [&](const QString& error) {
        command.error = error;
        return command;
    };
    const auto isHelp = [](const QString& option) {
        return option == u"--help" || option == u"-h";
    };
    if (arguments.size() == 1 && isHelp(arguments.front())) {
        command.mode = SimGameCommand::Mode::Help;
        return command;
    }
    if (std::any_of(arguments.begin(), arguments.end(), isHelp))
        return fail(QStringLiteral("--help takes no other arguments"));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const bool isFlag = flags.contains(option);
        if (!isFlag && !valued.contains(option))
            return fail(option.startsWith(u'-')
                            ? QStringLiteral("unknown option %1").arg(quoted(option))
                            : QStringLiteral("unexpected argument %1").arg(quoted(option)));
        if (seen.contains(option) && option != u"--at")
            return fail(QStringLiteral("%1 is given more than once").arg(option));
        seen.insert(option);
        if (isFlag) {
            if (option == u"--play")
                command.play = true;
            else
                command.frameSpec.windowMode = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return fail(QStringLiteral("%1 needs a value").arg(option));
        const QString error = parseValue(option, arguments[++i], command);
        if (!error.isEmpty())
            return fail(error);
    }
    if (command.mode == SimGameCommand::Mode::Render) {
        for (const char16_t* needed : {u"--level", u"--exp", u"--coins"})
            if (!seen.contains(QString::fromUtf16(needed)))
                return fail(QStringLiteral("--render needs %1").arg(QString::fromUtf16(needed)));
        for (const char16_t* live : {u"--class", u"--script", u"--play"})
            if (seen.contains(QString::fromUtf16(live)))
                return fail(QStringLiteral("%1 is for the live window, not for --render")
                                .arg(QString::fromUtf16(live)));
    }
    if (seen.contains(QStringLiteral("--script")) && command.play)
        return fail(QStringLiteral("--script and --play cannot be used together"));
    for (const char16_t* player : {u"--seed", u"--exp-rate", u"--coin-rate"})
        if (seen.contains(QString::fromUtf16(player)) && !command.play)
            return fail(QStringLiteral("%1 needs --play").arg(QString::fromUtf16(player)));
    const QString problem = CheckGameFrameSpec(command.frameSpec);
    if (!problem.isEmpty())
        return fail(seen.contains(QStringLiteral("--size")) ? QStringLiteral("--size: ") + problem
                                                            : problem);
    return command;
}

} // namespace kesmaro
