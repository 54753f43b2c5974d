// The finder's confirmation dialog: what it says about each number, and its two answers.

#include "ui/qt/AreaFinderDialog.h"

#include "recognition/AutoDetect.h"
#include "tools/simgame/GameFrame.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

PixelBuffer frameWith(bool hideLevel, CoinArea coins)
{
    GameFrameSpec scene;
    scene.level = 35;
    scene.expPercent = 12.34;
    scene.coins = 1000;
    scene.coinArea = coins;
    scene.hideLevel = hideLevel;
    return RenderGameFrame(scene);
}

TEST(AreaFinderDialog, TellsWhatEachAreaReadsAndWhatIsMissing)
{
    const PixelBuffer frame = frameWith(true, CoinArea::Both);
    const AreaProposal proposal = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
    AreaFinderDialog dialog(frame, proposal);
    EXPECT_EQ(dialog.windowTitle(), u"自動検出"_s);
    EXPECT_EQ(dialog.summary(), QStringList({u"Lv: 見つかりません（設定しません）"_s,
                                             u"Exp: 1234  (X 689, Y 752, 幅 44, 高さ 10)"_s,
                                             u"Money: 1000  (X 927, Y 202, 幅 102, 高さ 9)"_s,
                                             u"Money(2): 1000  (X 927, Y 43, 幅 102, 高さ 9)"_s}));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(u"cmdApply"_s)->isEnabled());
}

TEST(AreaFinderDialog, NothingFoundCannotBeApplied)
{
    const PixelBuffer frame(640, 480);
    AreaFinderDialog dialog(frame, FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt)));
    EXPECT_FALSE(dialog.findChild<QPushButton*>(u"cmdApply"_s)->isEnabled());
    EXPECT_EQ(dialog.summary().size(), 3);
}

TEST(AreaFinderDialog, ApplyAcceptsAndCancelRejects)
{
    const PixelBuffer frame = frameWith(false, CoinArea::Area2);
    const AreaProposal proposal = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
    for (const char* button : {"cmdApply", "cmdCancel"}) {
        SCOPED_TRACE(button);
        QTimer::singleShot(0, [button] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
                    dialog->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
        EXPECT_EQ(AreaFinderDialog::confirm(nullptr, frame, proposal),
                  QByteArray(button) == "cmdApply");
    }
}

} // namespace
