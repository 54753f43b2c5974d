#include "common/ErrorNumbers.h"
#include "common/OsCalls.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace kesmaro::os {

bool LocalTime(std::time_t time, std::tm& fields)
{
    return localtime_r(&time, &fields) != nullptr;
}

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    // Native paths are bytes here: any text, even ill-formed UTF-8, names its file.
    return std::filesystem::path(std::string(utf8));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    return path.native();
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode)
{
    return std::fopen(path.c_str(), mode);
}

bool SyncToDisk(std::FILE* file)
{
    return fsync(fileno(file)) == 0;
}

bool IsDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return 0;
    if (errno == EACCES || errno == EPERM || errno == EROFS)
        return ErrPermissionDenied;
    return IsDiskFull(errno) ? ErrDiskFull : ErrPathFileAccess;
}

} // namespace kesmaro::os
