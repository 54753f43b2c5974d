// kesmaro-simgame: a stand-in for the game. --render draws one frame into a PNG file.

#include "tools/simgame/GameFrame.h"
#include "tools/simgame/SimGameArguments.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void printError(const QString& message)
{
    QTextStream(stderr) << "kesmaro-simgame: " << message << '\n';
}

int render(const kesmaro::SimGameCommand& command)
{
    const kesmaro::PixelBuffer frame = kesmaro::RenderGameFrame(command.spec);
    if (!kesmaro::SaveFramePng(frame, command.output)) {
        printError(QStringLiteral("cannot write %1").arg(command.output));
        return kExitFailure;
    }
    return 0;
}

int live(const kesmaro::SimGameCommand&)
{
    printError(QStringLiteral("the live game window is not available yet; use --render OUT.png"));
    return kExitUsage;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const kesmaro::SimGameCommand command = kesmaro::ParseSimGameArguments(arguments);
    if (!command.error.isEmpty()) {
        printError(command.error);
        return kExitUsage;
    }
    switch (command.mode) {
    case kesmaro::SimGameCommand::Mode::Render:
        return render(command);
    case kesmaro::SimGameCommand::Mode::Live:
        return live(command);
    }
    return kExitUsage;
}
