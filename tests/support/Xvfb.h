#pragma once

#include "X11TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace kesmaro::testing {

// Starts the test's own X server from SetUp: skips the test on a machine without Xvfb, fails it
// when the server is there but does not come up. False when SetUp should return.
inline bool StartXvfb(std::unique_ptr<XvfbSession>& session, XvfbSession::Options options = {})
{
    session = std::make_unique<XvfbSession>(std::move(options));
    if (!session->ok())
        [&] {
            if (session->display().empty())
                GTEST_SKIP() << "No X server for the X11 tests: " << session->problem();
            FAIL() << session->problem();
        }();
    return session->ok();
}

} // namespace kesmaro::testing
