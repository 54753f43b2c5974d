// kesmaro-forms-shot OUT_DIR: the main window after a simulated session of several samples and
// the popup of a missing game, saved as main-window.png and popup.png, the status line of an
// Exp area that stopped reading as status-line.png, the five pages of the options window as
// options-0.png to options-4.png, and the capture-area finder's dialog on a frame with moved
// numbers as area-finder.png, the input dialog as input-dialog.png and the version window as
// version.png. Run it on a real X server (or Xvfb) to see the windows as users do: fonts, clipping
// and txtLog's columns. kesmaro-forms-shot --screen OUT.png saves the whole screen instead (a live
// session's look).

#include "FormsFixture.h"
#include "recognition/AutoDetect.h"
#include "tools/simgame/GameFrame.h"
#include "ui/qt/AreaFinderDialog.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/FormInputCheck.h"
#include "ui/qt/FormOption.h"
#include "ui/qt/FormVersion.h"

#include <QDir>
#include <QScreen>
#include <QTabBar>
#include <QTextStream>
#include <QTimer>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

void save(QWidget& window, const QString& path)
{
    FormsHarness::settle();
    if (!window.grab().save(path))
        QTextStream(stderr) << "cannot write " << path << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--screen")
        return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]))
                   ? 0
                   : 1;
    QApplication::setFont(InterfaceFont());
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"."_s);

    FormsHarness h;
    h.p.settings.GraphEnabled = true;
    h.p.flags.DebugMode = true;
    h.load();
    h.show(u"35"_s, u"12.34"_s, u"1000"_s);
    h.action(u"menuRun"_s)->trigger();
    // A player gaining a little more in some intervals than in others, with a level-up.
    double exp = 12.34;
    int level = 35;
    long coins = 1000;
    for (int minute = 1; minute <= 150; ++minute) {
        exp += 0.35 + 0.25 * ((minute * 7) % 5);
        coins += 40 + (minute * 13) % 90;
        if (exp >= 100.0) {
            exp -= 100.0;
            ++level;
        }
        h.show(QString::number(level), QString::number(exp, 'f', 2), QString::number(coins));
        h.at(minute * 60);
        QApplication::processEvents();
    }
    save(*h.m_view.main(), out.filePath(u"main-window.png"_s));

    // The Exp stops being readable: the status line says why, and for how long.
    h.show(QString::number(level), QString(), QString::number(coins));
    h.at(151 * 60);
    h.at(157 * 60);
    h.m_view.main()->showStatus();
    save(*h.m_view.main(), out.filePath(u"status-line.png"_s));

    Execute(h.p, Command::Option);
    FormOption& options = *h.m_view.options();
    for (int page = 0; page < kOptionPageCount; ++page) {
        options.findChild<QTabBar*>(u"tabOption"_s)->setCurrentIndex(page);
        save(options, out.filePath(u"options-%1.png"_s.arg(page)));
    }
    options.hide();

    FormVersion version(h.p);
    version.show();
    save(version, out.filePath(u"version.png"_s));
    version.hide();

    FormInputCheck input(h.sim.prompter);
    QTimer::singleShot(0, &input, [&] {
        save(input, out.filePath(u"input-dialog.png"_s));
        input.close();
    });
    input.Ask({"1", "1440", 6, "5", "キャプチャー周期を入力してください", "設定値入力"});

    GameFrameSpec moved;
    moved.level = 35;
    moved.expPercent = 12.34;
    moved.coins = 123456;
    moved.coinArea = CoinArea::Both;
    moved.at = {FramePoint{160, 730}, FramePoint{500, 740}, FramePoint{40, 120}};
    const PixelBuffer frame = RenderGameFrame(moved);
    AreaFinderDialog finder(frame, FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt)));
    finder.show();
    save(finder, out.filePath(u"area-finder.png"_s));
    finder.hide();

    h.closeGame();
    h.at(158 * 60 + 30);
    save(*h.m_view.popup(), out.filePath(u"popup.png"_s));
    return 0;
}
