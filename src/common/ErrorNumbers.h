#pragma once

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

} // namespace kesmaro
