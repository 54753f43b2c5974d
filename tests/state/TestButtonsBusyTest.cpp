#include "state/TestButtonsBusy.h"

#include "ProgramFixture.h"

using namespace kesmaro;
using namespace kesmaro::test;

class TestButtonsBusyTest : public ProgramFixture {};

TEST_F(TestButtonsBusyTest, BothButtonsAreOffWhileHeldAndOnAgainAfterEachTellingTheWindows)
{
    {
        TestButtonsBusy busy(p);
        EXPECT_FALSE(p.menus.cmdCaptureEnabled);
        EXPECT_FALSE(p.menus.cmdRecognizeEnabled);
        EXPECT_EQ(view.menus, 1);
    }
    EXPECT_TRUE(p.menus.cmdCaptureEnabled);
    EXPECT_TRUE(p.menus.cmdRecognizeEnabled);
    EXPECT_EQ(view.buttons, (std::vector<bool>{false, true}));
}

TEST_F(TestButtonsBusyTest, ALeavingErrorStillTurnsTheButtonsBackOn)
{
    try {
        TestButtonsBusy busy(p);
        throw std::runtime_error("test failed midway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(p.menus.cmdCaptureEnabled);
    EXPECT_TRUE(p.menus.cmdRecognizeEnabled);
    // The other menu commands are not the guard's to change.
    EXPECT_TRUE(p.menus.menuRunEnabled);
}
