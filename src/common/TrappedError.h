#pragma once

#include "common/ErrorNumbers.h"

#include <string>
#include <utility>

namespace kesmaro {

// The standard description of an error number ("Overflow", "Subscript out of range", ...).
std::string ErrorDescription(int number);

// Thrown inside an operation and caught by its Trap; never escapes an operation.
struct TrappedError {
    int number = 0;
    std::string description; // UTF-8

    explicit TrappedError(int n) : number(n), description(ErrorDescription(n)) {}
    TrappedError(int n, std::string text) : number(n), description(std::move(text)) {}
};

[[noreturn]] inline void Raise(int number)
{
    throw TrappedError(number);
}

} // namespace kesmaro
