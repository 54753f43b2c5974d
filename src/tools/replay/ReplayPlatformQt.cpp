#include "tools/replay/ReplayPlatform.h"
#include "ui/qt/GraphPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QStringList>

namespace kesmaro {

struct ReplayPlatform::State {
    State(int& argc, char** argv) : app(argc, argv) {}
    QGuiApplication app;
};

ReplayPlatform::ReplayPlatform(int& argc, char** argv)
{
    // No display is needed: the graph picture is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    m_state = std::make_unique<State>(argc, argv);
}

ReplayPlatform::~ReplayPlatform() = default;

std::vector<std::string> ReplayPlatform::arguments() const
{
    std::vector<std::string> arguments;
    const QStringList given = QCoreApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i)
        arguments.push_back(given[i].toStdString());
    return arguments;
}

GraphPngWriter ReplayPlatform::graphWriter() const
{
    return [](const GraphPicture& picture, const std::string& path) {
        return RenderGraph(picture).save(QString::fromStdString(path), "PNG");
    };
}

} // namespace kesmaro
