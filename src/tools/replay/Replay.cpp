#include "tools/replay/Replay.h"

#include "app/Command.h"
#include "app/MainWindowLogic.h"
#include "config/ConfigFile.h"
#include "graph/GraphDisplay.h"
#include "platform/qt/Pictures.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "screenshots/ImageFiles.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"
#include "ui/qt/GraphPainter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <QTimeZone>
#include <map>

namespace kesmaro {

namespace {

// The scenario's game is whatever window class the program looks for.
class ReplayWindows : public SimGameWindows {
public:
    WindowId FindWindow(const std::string&) override { return exists(game) ? game : kNoWindow; }
    WindowId game = kNoWindow;
    WindowId other = kNoWindow;
};

LocalDateTime toLocal(const QDateTime& start)
{
    using namespace std::chrono;
    const QDate d = start.date();
    const local_days day{year(d.year()) / month(static_cast<unsigned>(d.month())) /
                         static_cast<unsigned>(d.day())};
    return day + milliseconds(start.time().msecsSinceStartOfDay());
}

QString answerName(PromptAnswer a)
{
    switch (a) {
    case PromptAnswer::Ok:
        return QStringLiteral("OK");
    case PromptAnswer::Cancel:
        return QStringLiteral("Cancel");
    case PromptAnswer::Yes:
        return QStringLiteral("Yes");
    case PromptAnswer::No:
        return QStringLiteral("No");
    }
    return {};
}

QString oleDateText(double oleDate)
{
    // OLE dates count days from 1899-12-30; rounded to the second as the logs show time.
    const qint64 seconds = qRound64(oleDate * 86400.0);
    // Calendar arithmetic in UTC: a local zone's daylight saving must not shift the reading.
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc())
        .addSecs(seconds)
        .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

bool writeUtf8(const QString& path, const QString& text, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        error = path + QStringLiteral(": cannot write");
        return false;
    }
    return true;
}

class Run : private ProgramView {
public:
    Run(const Scenario& scenario, const QString& folder)
        : m_scenario(scenario), m_sim(toLocal(scenario.start), scenario.bootMs, &m_windows),
          m_log(folder.toStdString(), m_sim.clock),
          m_program(m_sim.services, m_log, *this, folder.toStdString())
    {
        for (PromptAnswer a : scenario.answers)
            m_sim.prompter.queue(a);
        m_program.graph.sampleAdded = [this](const clsGraphFormat& sample) {
            m_samples.push_back(sample);
        };
    }

    void play()
    {
        const auto& events = m_scenario.events;
        std::size_t next = 0;
        // Events at t = 0 describe the world before the program starts.
        for (; next < events.size() && events[next].timeMs == 0; ++next)
            apply(events[next]);
        for (std::size_t i = next; i < events.size(); ++i)
            m_sim.scheduler.at(events[i].timeMs, [this, &e = events[i]] { apply(e); });
        std::int64_t last = events.empty() ? 0 : events.back().timeMs;

        Main(m_program);
        m_sim.scheduler.runUntil(last);
        if (!m_ended)
            Execute(m_program, Command::End);
    }

    bool writeOutputs(const QString& folder, QString& error)
    {
        const ResultLabels& r = m_program.results;
        const std::pair<const char*, const std::string*> labels[] = {
            {"lblStartTime", &r.lblStartTime},   {"lblEndTime", &r.lblEndTime},
            {"lblElapseTime", &r.lblElapseTime}, {"lblStartLv", &r.lblStartLv},
            {"lblEndLv", &r.lblEndLv},           {"lblElapseLv", &r.lblElapseLv},
            {"lblStartExp", &r.lblStartExp},     {"lblEndExp", &r.lblEndExp},
            {"lblElapseExp", &r.lblElapseExp},   {"lblStartMoney", &r.lblStartMoney},
            {"lblEndMoney", &r.lblEndMoney},     {"lblElapseMoney", &r.lblElapseMoney},
            {"lblCapture(0)", &r.lblCapture[0]}, {"lblCapture(1)", &r.lblCapture[1]},
            {"lblCapture(2)", &r.lblCapture[2]}, {"lblCapture(3)", &r.lblCapture[3]},
            {"lblCapture(4)", &r.lblCapture[4]}, {"lblElapse", &r.lblElapse},
        };
        QString results;
        for (const auto& [name, text] : labels)
            results += QLatin1String(name) + QLatin1Char('\t') + QString::fromStdString(*text) +
                       QLatin1Char('\n');

        QString prompts;
        for (const auto& asked : m_sim.prompter.asked()) {
            const DateTime when(toLocal(m_scenario.start) +
                                std::chrono::milliseconds(asked.tickMs - m_scenario.bootMs));
            QString text = QString::fromStdString(asked.prompt.text);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
            prompts += QString::fromStdString(when.format("yyyy/MM/dd hh:mm:ss")) +
                       QLatin1Char('\t') + QString::fromStdString(asked.prompt.title) +
                       QLatin1Char('\t') + text + QLatin1Char('\t') + answerName(asked.answer) +
                       QLatin1Char('\n');
        }

        QString csv = QStringLiteral("Time,RateE,RateM,RateAveE,RateAveM\n");
        for (auto it = m_samples.rbegin(); it != m_samples.rend(); ++it)
            csv += oleDateText(it->Time) + QLatin1Char(',') +
                   QString::fromStdString(it->RateE.toString()) + QLatin1Char(',') +
                   QString::fromStdString(it->RateM.toString()) + QLatin1Char(',') +
                   QString::fromStdString(it->RateAveE.toString()) + QLatin1Char(',') +
                   QString::fromStdString(it->RateAveM.toString()) + QLatin1Char('\n');

        const QDir dir(folder);
        if (!writeUtf8(dir.filePath(QStringLiteral("txtLog.txt")),
                       QString::fromStdString(m_program.txtLog.text()), error) ||
            !writeUtf8(dir.filePath(QStringLiteral("results.txt")), results, error) ||
            !writeUtf8(dir.filePath(QStringLiteral("prompts.txt")), prompts, error) ||
            !writeUtf8(dir.filePath(QStringLiteral("graph.csv")), csv, error))
            return false;
        if (!m_graph.isNull() && !m_graph.save(dir.filePath(QStringLiteral("graph.png")))) {
            error = dir.filePath(QStringLiteral("graph.png")) + QStringLiteral(": cannot write");
            return false;
        }
        return true;
    }

private:
    // Long scenarios show the same few frames again and again: each file is decoded once.
    const PixelBuffer& image(const QString& path)
    {
        auto it = m_images.find(path);
        if (it == m_images.end())
            // An unreadable image is a window showing nothing readable.
            it = m_images.emplace(path, FromQImage(QImage(path))).first;
        return it->second;
    }

    void apply(const ScenarioEvent& e)
    {
        if (m_ended)
            return;
        using Kind = ScenarioEvent::Kind;
        switch (e.kind) {
        case Kind::Window:
            if (m_windows.exists(m_windows.game))
                m_windows.removeWindow(m_windows.game);
            m_windows.game = m_windows.addWindow("kesmaro-replay-game", image(e.argument));
            m_windows.setForeground(m_windows.game);
            break;
        case Kind::Frame:
            if (m_windows.exists(m_windows.game))
                m_windows.setImage(m_windows.game, image(e.argument));
            break;
        case Kind::Background:
            if (!m_windows.exists(m_windows.other))
                m_windows.other =
                    m_windows.addWindow("kesmaro-replay-other", PixelBuffer(640, 480), 40, 40);
            m_windows.setForeground(m_windows.other);
            break;
        case Kind::Foreground:
            if (m_windows.exists(m_windows.game))
                m_windows.setForeground(m_windows.game);
            break;
        case Kind::Close:
            if (m_windows.exists(m_windows.game))
                m_windows.removeWindow(m_windows.game);
            break;
        case Kind::Click:
            Execute(m_program, e.command);
            break;
        }
    }

    // The picture is taken before the close releases the graph buffer.
    void closing() override
    {
        Program& p = m_program;
        if (p.settings.GraphEnabled && p.graph.GraphData) {
            GraphFrameDisplay(p, PixelSize{385, 361});
            m_graph = RenderGraph(GraphPictureOf(p));
        }
    }
    void programEnded() override { m_ended = true; }

    const Scenario& m_scenario;
    ReplayWindows m_windows;
    SimServices m_sim;
    DebugLog m_log;
    Program m_program;
    std::vector<clsGraphFormat> m_samples;
    std::map<QString, PixelBuffer> m_images;
    QImage m_graph;
    bool m_ended = false;
};

} // namespace

bool RunReplay(const Scenario& scenario, const QString& outFolder, QString& error)
{
    if (!QDir().mkpath(outFolder)) {
        error = outFolder + QStringLiteral(": cannot create the output folder");
        return false;
    }
    const QString folder = QDir(outFolder).absolutePath();
    if (!scenario.settingsFile.isEmpty()) {
        const QString target = QString::fromStdString(ConfigFilePath(folder.toStdString()));
        QFile::remove(target);
        if (!QFile::copy(scenario.settingsFile, target)) {
            error = target + QStringLiteral(": cannot copy the settings file");
            return false;
        }
    }
    Run run(scenario, folder);
    run.play();
    return run.writeOutputs(folder, error);
}

} // namespace kesmaro
