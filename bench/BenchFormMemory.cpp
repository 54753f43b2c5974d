// bench_form_memory [SAMPLES]: the resident memory of the desktop program over a long run. The
// real main window, txtLog and graph buffer are driven on the simulated clock, one capture a
// minute of a game whose Exp and coins rise, so that 1,000 samples take seconds, not 17 hours.
// Prints VmRSS after the start and at checkpoints, with the sizes the run grows.

#include "app/MainWindowLogic.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "state/Program.h"
#include "tools/simgame/GameFrame.h"
#include "ui/qt/DesktopView.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/FormMain.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

using namespace kesmaro;

namespace {

long residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(InterfaceFont());
    const int samples = argc > 1 ? std::atoi(argv[1]) : 1000;

    QTemporaryDir dir;
    SimGameWindows windows;
    SimServices sim(std::chrono::local_days(std::chrono::year(2024) / 5 / 1), 3600 * 1000,
                    &windows);
    DebugLog log(dir.path().toStdString(), sim.clock);
    DesktopView view;
    Program p(sim.services, log, view, dir.path().toStdString());
    Settings& s = p.settings;
    s.SearchWindowClass = kDefaultWindowClass;
    ApplyDefaults(s, dir.path().toStdString());
    SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
    LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
    s.StartDelay = 0;
    s.AutoStart = false;
    s.CaptureInterval = 1;
    s.GraphEnabled = true;
    view.attach(p);
    FormMain_Load(p);
    settle();

    GameFrameSpec shown;
    shown.level = 35;
    shown.expPercent = 12.34;
    shown.coins = 1000;
    const PixelBuffer background = RenderGameBackground(shown);
    const auto frame = [&] {
        PixelBuffer f = background;
        DrawHudValues(f, shown);
        return f;
    };
    const WindowId game = windows.addWindow(kDefaultWindowClass, frame());
    windows.setForeground(game);
    view.main()->findChild<QAction*>("menuRun")->trigger();
    sim.scheduler.runUntil(30 * 1000);
    settle();

    QTextStream out(stdout);
    out << "samples  VmRSS(KiB)  txtLog(chars)  graph samples\n";
    const auto report = [&](int n) {
        out << qSetFieldWidth(7) << n << qSetFieldWidth(12) << residentKiB() << qSetFieldWidth(15)
            << p.txtLog.text().size() << qSetFieldWidth(15)
            << (p.graph.GraphData ? p.graph.GraphData->BufferSize() : 0) << qSetFieldWidth(0)
            << "\n";
        out.flush();
    };
    report(0);
    for (int n = 1; n <= samples; ++n) {
        shown.expPercent += 0.37 + 0.2 * (n % 3);
        if (shown.expPercent >= 100.0) {
            shown.expPercent -= 100.0;
            ++shown.level;
        }
        shown.coins += 40 + (n * 13) % 90;
        windows.setImage(game, frame());
        sim.scheduler.runUntil(30 * 1000 + std::int64_t{n} * 60 * 1000);
        QApplication::processEvents();
        if (n == 1 || n == 10 || n == 100 || n % 250 == 0 || n == samples)
            report(n);
    }
    return 0;
}
