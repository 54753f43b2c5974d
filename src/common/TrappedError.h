#pragma once

#include <QString>
#include <utility>

namespace kesmaro {

// Error numbers of the failures operations trap; they appear in "Error Trap" lines and users
// quote them in reports, so they keep the classic runtime numbering.
enum ErrorNumber : int {
    ErrInvalidArgument = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscript = 9,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrInternal = 51,
    ErrBadFileName = 52,
    ErrFileNotFound = 53,
    ErrFileAlreadyOpen = 55,
    ErrDiskFull = 61,
    ErrPastEndOfFile = 62,
    ErrPermissionDenied = 70,
    ErrPathFileAccess = 75,
    ErrPathNotFound = 76,
};

// The standard description of an error number ("Overflow", "Subscript out of range", ...).
QString ErrorDescription(int number);

// Thrown inside an operation and caught by its Trap; never escapes an operation.
struct TrappedError {
    int number = 0;
    QString description;

    explicit TrappedError(int n) : number(n), description(ErrorDescription(n)) {}
    TrappedError(int n, QString text) : number(n), description(std::move(text)) {}
};

[[noreturn]] inline void Raise(int number)
{
    throw TrappedError(number);
}

} // namespace kesmaro
