#include "common/TrappedError.h"

namespace kesmaro {

QString ErrorDescription(int number)
{
    switch (number) {
    case ErrInvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow:
        return QStringLiteral("Overflow");
    case ErrOutOfMemory:
        return QStringLiteral("Out of memory");
    case ErrInternal:
        return QStringLiteral("Internal error");
    case ErrSubscript:
        return QStringLiteral("Subscript out of range");
    case ErrDivisionByZero:
        return QStringLiteral("Division by zero");
    case ErrTypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrBadFileName:
        return QStringLiteral("Bad file name or number");
    case ErrFileNotFound:
        return QStringLiteral("File not found");
    case ErrFileAlreadyOpen:
        return QStringLiteral("File already open");
    case ErrDiskFull:
        return QStringLiteral("Disk full");
    case ErrPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case ErrPermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrPathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrPathNotFound:
        return QStringLiteral("Path not found");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace kesmaro
