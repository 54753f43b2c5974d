#include "platform/x11/X11Extensions.h"

#include "X11TestSupport.h"

#include <gtest/gtest.h>

using namespace kesmaro;
using kesmaro::testing::XvfbSession;

TEST(X11ExtensionsTest, TellsWhichExtensionsTheServerLacks)
{
    struct Row {
        std::vector<std::string> serverArgs;
        bool xinput2, mitShm;
    };
    const Row rows[] = {
        {{}, true, true},
        // Xvfb cannot turn XInput itself off; without generic events XI2 delivers nothing.
        {{"-extension", "Generic Event Extension"}, false, true},
        {{"-extension", "MIT-SHM"}, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.serverArgs.empty() ? "all" : row.serverArgs.back());
        XvfbSession session({.windowManager = false, .serverArgs = row.serverArgs});
        if (session.display().empty())
            GTEST_SKIP() << "No X server for the X11 tests: " << session.problem();
        ASSERT_TRUE(session.ok()) << session.problem();
        ::testing::internal::CaptureStderr();
        const X11Extensions found = QueryX11Extensions(session.display());
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_TRUE(found.connected);
        EXPECT_EQ(found.xinput2, row.xinput2);
        EXPECT_EQ(found.mitShm, row.mitShm);
    }
    const X11Extensions none = QueryX11Extensions(":99999");
    EXPECT_FALSE(none.connected || none.xinput2 || none.mitShm);
}
