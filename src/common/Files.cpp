#include "common/Files.h"

#include "common/ErrorNumbers.h"
#include "common/OsCalls.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

namespace kesmaro {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Why an open failed, in the order the text-file functions have always reported it.
int openFailure(const fs::path& path, int error, bool forReading)
{
    std::error_code ec;
    const fs::path folder = path.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec))
        return ErrPathNotFound;
    if (forReading && !fs::exists(path, ec))
        return ErrFileNotFound;
    if (error == EACCES || error == EPERM || error == EROFS)
        return ErrPermissionDenied;
    return os::IsDiskFull(error) ? ErrDiskFull : ErrPathFileAccess;
}

int writeFailure(int error)
{
    return os::IsDiskFull(error) ? ErrDiskFull : ErrPathFileAccess;
}

// Writes and closes; 0 or the error number of the failing step.
int writeAndClose(File file, std::string_view bytes, bool toDisk)
{
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0 || (toDisk && !os::SyncToDisk(file.get())))
        return writeFailure(errno);
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return writeFailure(errno);
    return 0;
}

fs::path temporaryBeside(const fs::path& target)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::random_device random;
    std::string suffix = ".";
    for (int i = 0; i < 8; ++i)
        suffix += kDigits[random() % 16];
    fs::path temporary = target;
    temporary += suffix + ".tmp";
    return temporary;
}

int writeLineAndClose(const fs::path& path, std::string_view line, const char* mode)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return ErrPathFileAccess;
    errno = 0;
    File file(os::OpenFile(path, mode));
    if (!file)
        return openFailure(path, errno, false);
    std::string bytes(line);
    bytes += "\r\n";
    return writeAndClose(std::move(file), bytes, false);
}

} // namespace

fs::path PathFromUtf8(std::string_view utf8)
{
    return os::PathFromUtf8(utf8);
}

std::string PathToUtf8(const fs::path& path)
{
    return os::PathToUtf8(path);
}

int AppendLineAndClose(const fs::path& path, std::string_view line)
{
    return writeLineAndClose(path, line, "ab");
}

int RewriteLineAndClose(const fs::path& path, std::string_view line)
{
    return writeLineAndClose(path, line, "wb");
}

int ReplaceFileAtomic(const fs::path& path, std::string_view bytes)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return ErrPathFileAccess;
    const fs::path temporary = temporaryBeside(path);
    errno = 0;
    File file(os::OpenFile(temporary, "wb"));
    if (!file)
        return openFailure(temporary, errno, false);
    int error = writeAndClose(std::move(file), bytes, true);
    if (error == 0) {
        // The replacement keeps the permissions the user gave the old file.
        const fs::file_status old = fs::status(path, ec);
        if (!ec && fs::exists(old))
            fs::permissions(temporary, old.permissions(), ec);
        error = os::ReplaceWith(temporary, path);
    }
    if (error != 0)
        fs::remove(temporary, ec);
    return error;
}

FileBytes ReadWholeFile(const fs::path& path)
{
    FileBytes result;
    // A folder opens for reading on Linux but not on Windows: the same answer on both.
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        result.error = ErrPathFileAccess;
        return result;
    }
    errno = 0;
    File file(os::OpenFile(path, "rb"));
    if (!file) {
        result.error = openFailure(path, errno, true);
        return result;
    }
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        result.bytes.append(buffer, n);
    if (std::ferror(file.get()) != 0) {
        result.bytes.clear();
        result.error = ErrPathFileAccess;
    }
    return result;
}

} // namespace kesmaro
