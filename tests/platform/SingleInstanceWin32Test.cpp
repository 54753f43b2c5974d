// The named-mutex lock, run under Wine. Another instance is stood in for by a second object in
// this process: the mutex is the session's, so it answers the same way.
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace kesmaro;

namespace {

// A scope of this run alone, so that a test run left hanging cannot answer for the next one.
std::string scopeOfThisRun(const char* name)
{
    return std::string(name) + "." + std::to_string(GetCurrentProcessId());
}

} // namespace

TEST(SingleInstanceWin32Test, ASecondStartIsRefusedWhileTheFirstHoldsItAndAcceptedAfter)
{
    const std::string scope = scopeOfThisRun("held");
    {
        SingleInstance first(scope);
        EXPECT_EQ(first.tryAcquire(), SingleInstance::Result::Acquired);
        EXPECT_EQ(first.tryAcquire(), SingleInstance::Result::Acquired);
        SingleInstance second(scope);
        EXPECT_EQ(second.tryAcquire(), SingleInstance::Result::AlreadyRunning);
        // Being refused leaves the owner's lock in place.
        EXPECT_EQ(second.tryAcquire(), SingleInstance::Result::AlreadyRunning);
        EXPECT_EQ(SingleInstance(scope).tryAcquire(), SingleInstance::Result::AlreadyRunning);
    }
    SingleInstance next(scope);
    EXPECT_EQ(next.tryAcquire(), SingleInstance::Result::Acquired);
}

TEST(SingleInstanceWin32Test, ScopesAreApartAndNamesInJapaneseWork)
{
    SingleInstance one(scopeOfThisRun("one"));
    SingleInstance japanese(scopeOfThisRun("計測"));
    EXPECT_EQ(one.tryAcquire(), SingleInstance::Result::Acquired);
    EXPECT_EQ(japanese.tryAcquire(), SingleInstance::Result::Acquired);
    EXPECT_EQ(SingleInstance(scopeOfThisRun("計測")).tryAcquire(),
              SingleInstance::Result::AlreadyRunning);
    // Never asked: an object that did not take the lock goes without releasing anything.
    {
        SingleInstance idle(scopeOfThisRun("one"));
    }
    EXPECT_EQ(SingleInstance(scopeOfThisRun("one")).tryAcquire(),
              SingleInstance::Result::AlreadyRunning);
}
