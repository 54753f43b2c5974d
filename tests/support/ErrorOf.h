#pragma once

#include "common/TrappedError.h"

#include <functional>

namespace kesmaro::test {

// The error number the statement traps with; 0 when it runs through.
inline int errorOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const TrappedError& e) {
        return e.number;
    }
    return 0;
}

} // namespace kesmaro::test
