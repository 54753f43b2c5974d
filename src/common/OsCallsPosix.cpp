#include "common/ErrorNumbers.h"
#include "common/OsCalls.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

char PathSeparator()
{
    return '/';
}

std::string TempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    return tmpdir && *tmpdir ? tmpdir : "/tmp";
}

std::string UserDataRoot()
{
    // As the desktop's base-directory rules read them: a set XDG_DATA_HOME is taken as it is,
    // an empty HOME stands for the root folder.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return data;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/") + "/.local/share";
}

bool IsWritable(const std::filesystem::path& folder)
{
    return access(folder.c_str(), W_OK) == 0;
}

bool CanCreateFileIn(const std::filesystem::path& folder)
{
    std::string name = (folder / ".kesmaro-probe-XXXXXX").native();
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return false;
    close(fd);
    unlink(name.c_str());
    return true;
}

} // namespace kesmaro::os
