#include "common/ErrorNumbers.h"
#include "common/OsCalls.h"
#include "common/Utf8.h"

#include <cerrno>
#include <cstdlib>
#include <io.h>
#include <random>
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

char PathSeparator()
{
    return '\\';
}

std::string TempFolder()
{
    // GetTempPathW ends its answer in a backslash; a folder's name does not.
    std::error_code ec;
    std::string folder = PathToUtf8(std::filesystem::temp_directory_path(ec));
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::string UserDataRoot()
{
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local)
        return WideToUtf8(local);
    const wchar_t* profile = _wgetenv(L"USERPROFILE");
    return WideToUtf8(profile ? profile : L"C:\\") + "\\AppData\\Local";
}

bool IsWritable(const std::filesystem::path& folder)
{
    // Only tells an error 70 from a 76 after a failed creation; the read-only attribute is the
    // cheap answer (ACLs would need AccessCheck).
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool CanCreateFileIn(const std::filesystem::path& folder)
{
    std::random_device random;
    const std::filesystem::path probe =
        folder / (L".kesmaro-probe-" + std::to_wstring(random() % 1000000));
    // Gone again as soon as the handle closes.
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace kesmaro::os
