#include "tools/replay/Replay.h"

#include "app/Command.h"
#include "app/MainWindowLogic.h"
#include "common/Files.h"
#include "common/Text.h"
#include "config/ConfigFile.h"
#include "graph/GraphDisplay.h"
#include "platform/ImageFiles.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <system_error>

namespace kesmaro {

namespace {

// The scenario's game is whatever window class the program looks for.
class ReplayWindows : public SimGameWindows {
public:
    WindowId FindWindow(const std::string&) override { return exists(game) ? game : kNoWindow; }
    WindowId game = kNoWindow;
    WindowId other = kNoWindow;
};

const char* answerName(PromptAnswer a)
{
    switch (a) {
    case PromptAnswer::Ok:
        return "OK";
    case PromptAnswer::Cancel:
        return "Cancel";
    case PromptAnswer::Yes:
        return "Yes";
    case PromptAnswer::No:
        return "No";
    }
    return "";
}

std::string oleDateText(double oleDate)
{
    // OLE dates count days from 1899-12-30; rounded to the second as the logs show time. Plain
    // calendar arithmetic: a local zone's daylight saving must not shift the reading.
    const std::int64_t seconds = std::llround(oleDate * 86400.0);
    return DateTime::FromFields(1899, 12, 30)->addSeconds(seconds).format("yyyy/MM/dd hh:mm:ss");
}

bool writeUtf8(const std::filesystem::path& path, const std::string& text, std::string& error)
{
    if (ReplaceFileAtomic(path, text) != 0) {
        error = PathToUtf8(path) + ": cannot write";
        return false;
    }
    return true;
}

class Run : private ProgramView {
public:
    Run(const Scenario& scenario, const std::string& folder, const GraphPngWriter& writeGraph)
        : m_scenario(scenario), m_writeGraph(writeGraph),
          m_sim(scenario.start->time(), scenario.bootMs, &m_windows), m_log(folder, m_sim.clock),
          m_program(m_sim.services, m_log, *this, folder)
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

    bool writeOutputs(const std::string& folder, std::string& error)
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
        std::string results;
        for (const auto& [name, text] : labels)
            results += std::string(name) + '\t' + *text + '\n';

        std::string prompts;
        for (const auto& asked : m_sim.prompter.asked()) {
            const DateTime when =
                m_scenario.start->addMilliseconds(asked.tickMs - m_scenario.bootMs);
            prompts += when.format("yyyy/MM/dd hh:mm:ss") + '\t' + asked.prompt.title + '\t' +
                       ReplaceAll(asked.prompt.text, "\r\n", "\\n") + '\t' +
                       answerName(asked.answer) + '\n';
        }

        std::string csv = "Time,RateE,RateM,RateAveE,RateAveM\n";
        for (auto it = m_samples.rbegin(); it != m_samples.rend(); ++it)
            csv += oleDateText(it->Time) + ',' + it->RateE.toString() + ',' + it->RateM.toString() +
                   ',' + it->RateAveE.toString() + ',' + it->RateAveM.toString() + '\n';

        const std::filesystem::path dir = PathFromUtf8(folder);
        if (!writeUtf8(dir / "txtLog.txt", m_program.txtLog.text(), error) ||
            !writeUtf8(dir / "results.txt", results, error) ||
            !writeUtf8(dir / "prompts.txt", prompts, error) ||
            !writeUtf8(dir / "graph.csv", csv, error))
            return false;
        const std::string graphPath = PathToUtf8(dir / "graph.png");
        if (m_graph && m_writeGraph && !m_writeGraph(*m_graph, graphPath)) {
            error = graphPath + ": cannot write";
            return false;
        }
        return true;
    }

private:
    // Long scenarios show the same few frames again and again: each file is decoded once.
    const PixelBuffer& image(const std::string& path)
    {
        auto it = m_images.find(path);
        if (it == m_images.end())
            // An unreadable image is a window showing nothing readable.
            it = m_images.emplace(path, ReadImageFile(PathFromUtf8(path)).pixels).first;
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
            m_graph = GraphPictureOf(p);
        }
    }
    void programEnded() override { m_ended = true; }

    const Scenario& m_scenario;
    const GraphPngWriter& m_writeGraph;
    ReplayWindows m_windows;
    SimServices m_sim;
    DebugLog m_log;
    Program m_program;
    std::vector<clsGraphFormat> m_samples;
    std::map<std::string, PixelBuffer> m_images;
    std::optional<GraphPicture> m_graph;
    bool m_ended = false;
};

} // namespace

bool RunReplay(const Scenario& scenario, const std::string& outFolder, std::string& error,
               const GraphPngWriter& writeGraph)
{
    std::error_code ec;
    const std::filesystem::path out = PathFromUtf8(outFolder);
    std::filesystem::create_directories(out, ec);
    if (!std::filesystem::is_directory(out, ec)) {
        error = outFolder + ": cannot create the output folder";
        return false;
    }
    // Absolute and without "." or ".." steps or a separator at the end, as the program
    // folder is named in its outputs.
    std::filesystem::path absolute = std::filesystem::absolute(out, ec).lexically_normal();
    if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
        absolute = absolute.parent_path();
    const std::string folder = PathToUtf8(absolute);
    if (!scenario.settingsFile.empty()) {
        const std::string target = ConfigFilePath(folder);
        const FileBytes settings = ReadWholeFile(PathFromUtf8(scenario.settingsFile));
        if (settings.error != 0 || ReplaceFileAtomic(PathFromUtf8(target), settings.bytes) != 0) {
            error = target + ": cannot copy the settings file";
            return false;
        }
    }
    Run run(scenario, folder, writeGraph);
    run.play();
    return run.writeOutputs(folder, error);
}

} // namespace kesmaro
