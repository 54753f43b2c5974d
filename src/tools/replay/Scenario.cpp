#include "tools/replay/Scenario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kesmaro {

namespace {

struct Parser {
    QString baseFolder;
    QString fileName;
    Scenario scenario;
    std::int64_t lastTime = 0;
    int lineNumber = 0;
    QString error;

    bool fail(const QString& fault)
    {
        error = fileName + QLatin1Char(':') + QString::number(lineNumber) + QStringLiteral(": ") +
                fault;
        return false;
    }

    bool existingFile(const QString& relative, QString& absolute)
    {
        absolute = QDir(baseFolder).absoluteFilePath(relative);
        if (!QFileInfo(absolute).isFile())
            return fail(QStringLiteral("missing file ") + relative);
        return true;
    }

    bool seconds(const QString& text, std::int64_t& ms)
    {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < 0 || value > 1e12)
            return fail(QStringLiteral("invalid time ") + text);
        ms = std::llround(value * 1000.0);
        return true;
    }

    bool header(const QStringList& words, const QString& rest)
    {
        const QString& directive = words[0];
        if (directive == QLatin1String("start")) {
            const QDateTime start =
                QDateTime::fromString(rest, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            if (!start.isValid())
                return fail(QStringLiteral("invalid start time ") + rest);
            scenario.start = start;
            return true;
        }
        if (directive == QLatin1String("boot")) {
            std::int64_t ms = 0;
            if (words.size() != 2 || !seconds(words[1], ms))
                return error.isEmpty() ? fail(QStringLiteral("boot needs one time")) : false;
            scenario.bootMs = ms;
            return true;
        }
        if (directive == QLatin1String("settings")) {
            if (rest.isEmpty())
                return fail(QStringLiteral("settings needs a file"));
            return existingFile(rest, scenario.settingsFile);
        }
        if (directive == QLatin1String("answer")) {
            static const QStringList names = {QStringLiteral("yes"), QStringLiteral("no"),
                                              QStringLiteral("ok"), QStringLiteral("cancel")};
            static const PromptAnswer answers[] = {PromptAnswer::Yes, PromptAnswer::No,
                                                   PromptAnswer::Ok, PromptAnswer::Cancel};
            const qsizetype i = words.size() == 2 ? names.indexOf(words[1]) : -1;
            if (i < 0)
                return fail(QStringLiteral("answer must be yes, no, ok or cancel"));
            scenario.answers.push_back(answers[i]);
            return true;
        }
        return fail(QStringLiteral("unknown directive ") + directive);
    }

    bool timed(const QStringList& words)
    {
        if (words.size() < 3)
            return fail(QStringLiteral("at needs a time and a command"));
        ScenarioEvent event;
        event.line = lineNumber;
        if (!seconds(words[1], event.timeMs))
            return false;
        if (event.timeMs < lastTime)
            return fail(QStringLiteral("time goes back from ") +
                        QString::number(static_cast<double>(lastTime) / 1000.0));
        lastTime = event.timeMs;
        const QString& command = words[2];
        const QStringList args = words.mid(3);
        using Kind = ScenarioEvent::Kind;
        if (command == QLatin1String("window") || command == QLatin1String("frame")) {
            event.kind = command == QLatin1String("window") ? Kind::Window : Kind::Frame;
            if (args.isEmpty())
                return fail(command + QStringLiteral(" needs an image file"));
            if (!existingFile(args.join(QLatin1Char(' ')), event.argument))
                return false;
        } else if (command == QLatin1String("click")) {
            event.kind = Kind::Click;
            const std::optional<Command> clicked =
                args.size() == 1 ? CommandFromName(args[0].toStdString()) : std::nullopt;
            if (!clicked)
                return fail(QStringLiteral("unknown click ") + args.join(QLatin1Char(' ')));
            event.command = *clicked;
        } else {
            static const QStringList plain = {QStringLiteral("background"),
                                              QStringLiteral("foreground"),
                                              QStringLiteral("close")};
            static const Kind kinds[] = {Kind::Background, Kind::Foreground, Kind::Close};
            const qsizetype i = plain.indexOf(command);
            if (i < 0)
                return fail(QStringLiteral("unknown command ") + command);
            if (!args.isEmpty())
                return fail(command + QStringLiteral(" takes no argument"));
            event.kind = kinds[i];
        }
        scenario.events.push_back(event);
        return true;
    }

    bool line(const QString& raw)
    {
        QString text = raw;
        const qsizetype hash = text.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            text.truncate(hash);
        text = text.trimmed();
        if (text.isEmpty())
            return true;
        const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words[0] == QLatin1String("at"))
            return timed(words);
        return header(words, text.mid(words[0].size()).trimmed());
    }
};

} // namespace

std::optional<Scenario> ParseScenarioText(const QString& text, const QString& baseFolder,
                                          const QString& fileName, QString& error)
{
    Parser parser{baseFolder, fileName, {}, 0, 0, {}};
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        ++parser.lineNumber;
        if (!parser.line(line)) {
            error = parser.error;
            return std::nullopt;
        }
    }
    if (!parser.scenario.start.isValid()) {
        parser.lineNumber = 1;
        parser.fail(QStringLiteral("missing start line"));
        error = parser.error;
        return std::nullopt;
    }
    return parser.scenario;
}

std::optional<Scenario> ParseScenario(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(":0: cannot read the scenario");
        return std::nullopt;
    }
    return ParseScenarioText(QString::fromUtf8(file.readAll()), QFileInfo(path).absolutePath(),
                             path, error);
}

} // namespace kesmaro
