#pragma once

#include "ProgramHarness.h"

#include <gtest/gtest.h>

namespace kesmaro::test {

class ProgramFixture : public ::testing::Test, public ProgramHarness {
protected:
    explicit ProgramFixture(ProgramOptions options = {}) : ProgramHarness(options) {}
};

} // namespace kesmaro::test
