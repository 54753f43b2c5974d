#include "common/ErrorNumbers.h"
#include "common/OsCalls.h"
#include "common/Utf8.h"

#include <cerrno>
#include <io.h>
#include <windows.h>

namespace kesmaro::os {

bool LocalTime(std::time_t time, std::tm& fields)
{
    return localtime_s(&fields, &time) == 0;
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    // Our own conversion: the library's would throw on ill-formed UTF-8.
    return std::filesystem::path(Utf8ToWide(utf8));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    return WideToUtf8(path.native());
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode)
{
    const std::wstring wideMode = Utf8ToWide(mode);
    return _wfopen(path.c_str(), wideMode.c_str());
}

bool SyncToDisk(std::FILE* file)
{
    return _commit(_fileno(file)) == 0;
}

bool IsDiskFull(int error)
{
    return error == ENOSPC;
}

int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return ErrPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ErrDiskFull;
    default:
        return ErrPathFileAccess;
    }
}

} // namespace kesmaro::os
