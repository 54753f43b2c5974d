#include "common/TrappedError.h"

namespace kesmaro {

std::string ErrorDescription(int number)
{
    switch (number) {
    case ErrInvalidArgument:
        return "Invalid procedure call or argument";
    case ErrOverflow:
        return "Overflow";
    case ErrOutOfMemory:
        return "Out of memory";
    case ErrInternal:
        return "Internal error";
    case ErrSubscript:
        return "Subscript out of range";
    case ErrDivisionByZero:
        return "Division by zero";
    case ErrTypeMismatch:
        return "Type mismatch";
    case ErrBadFileName:
        return "Bad file name or number";
    case ErrFileNotFound:
        return "File not found";
    case ErrFileAlreadyOpen:
        return "File already open";
    case ErrDiskFull:
        return "Disk full";
    case ErrPastEndOfFile:
        return "Input past end of file";
    case ErrPermissionDenied:
        return "Permission denied";
    case ErrPathFileAccess:
        return "Path/File access error";
    case ErrPathNotFound:
        return "Path not found";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace kesmaro
