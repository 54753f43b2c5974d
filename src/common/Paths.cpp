#include "common/Paths.h"

#include "common/Files.h"
#include "common/OsCalls.h"
#include "common/TrappedError.h"

#include <algorithm>
#include <filesystem>

namespace kesmaro {

namespace fs = std::filesystem;

namespace {

const char kSeparator = os::PathSeparator();

bool isSeparator(char c)
{
    return c == kSeparator || c == '/';
}

std::string withSeparators(std::string path, char from, char to)
{
    std::replace(path.begin(), path.end(), from, to);
    return path;
}

// '.' and '..' resolved, doubled and trailing separators gone, the platform's separators.
std::string cleanPath(std::string_view path)
{
    if (path.empty())
        return {};
    std::string clean =
        withSeparators(PathToUtf8(PathFromUtf8(path).lexically_normal()), '/', kSeparator);
    while (clean.size() > 1 && clean.back() == kSeparator &&
           !(clean.size() == 3 && clean[1] == ':')) // "C:\" stays a root
        clean.pop_back();
    return clean;
}

// A clean path with '/' separators, for comparing.
std::string genericPath(std::string_view path)
{
    return withSeparators(cleanPath(path), kSeparator, '/');
}

bool isDirectory(std::string_view path)
{
    std::error_code ec;
    return fs::is_directory(PathFromUtf8(path), ec);
}

bool isAncestorOrSame(const std::string& ancestor, const std::string& path)
{
    if (ancestor == path)
        return true;
    const std::string prefix = ancestor.ends_with('/') ? ancestor : ancestor + '/';
    return path.starts_with(prefix);
}

std::string canonicalPath(const std::string& path)
{
    std::error_code ec;
    const fs::path real = fs::canonical(PathFromUtf8(path), ec);
    return ec ? std::string() : genericPath(PathToUtf8(real));
}

} // namespace

bool FileExists(std::string_view path)
{
    std::error_code ec;
    return !path.empty() && fs::exists(PathFromUtf8(path), ec);
}

std::string GetFileName(std::string_view path)
{
    for (std::size_t i = path.size(); i > 0; --i)
        if (isSeparator(path[i - 1]))
            return std::string(path.substr(i));
    return std::string(path);
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string joined(folder);
    if (!folder.empty() && !isSeparator(folder.back()))
        joined += kSeparator;
    return joined += name;
}

void CreateFolderPath(std::string& path)
{
    if (path.empty() || !isSeparator(path.back()))
        path += kSeparator;
    std::size_t scan = 0;
    if (kSeparator == '\\' && path.starts_with("\\\\")) {
        while (path.size() > 2 && path[2] == '\\')
            path.erase(2, 1);
        const std::size_t serverEnd = path.find('\\', 2);
        const std::size_t shareEnd =
            serverEnd == std::string::npos ? serverEnd : path.find('\\', serverEnd + 1);
        if (shareEnd == std::string::npos || !isDirectory(path.substr(0, shareEnd + 1)))
            return;
        scan = shareEnd;
    }
    for (;;) {
        std::size_t next = scan;
        while (next < path.size() && !isSeparator(path[next]))
            ++next;
        if (next >= path.size())
            return;
        const std::string level = path.substr(0, next + 1);
        const fs::path levelPath = PathFromUtf8(level);
        std::error_code ec;
        if (!fs::exists(levelPath, ec)) {
            if (!fs::create_directory(levelPath, ec) || ec) {
                const fs::path parent = fs::absolute(PathFromUtf8(path.substr(0, next)), ec);
                Raise(os::IsWritable(parent.parent_path()) ? ErrPathNotFound : ErrPermissionDenied);
            }
        } else if (!fs::is_directory(levelPath, ec)) {
            Raise(ErrPathNotFound);
        }
        scan = next + 1;
    }
}

bool IsInTempFolder(std::string_view programFolder, std::string_view tempFolder)
{
    // Compared as whole path components: the temporary folder here is as short as "/tmp", and
    // a plain text search would refuse any folder whose name merely contains it.
    const std::string program = genericPath(programFolder);
    const std::string temp = genericPath(tempFolder);
    if (program.empty() || temp.empty())
        return false;
    if (isAncestorOrSame(program, temp) || isAncestorOrSame(temp, program))
        return true;
    // The temporary folder may also be reached through a link (macOS /var -> /private/var).
    const std::string realTemp = canonicalPath(temp);
    const std::string realProgram = canonicalPath(program);
    if (realTemp.empty() || realProgram.empty())
        return false;
    return isAncestorOrSame(realProgram, realTemp) || isAncestorOrSame(realTemp, realProgram);
}

bool IsInTempFolder(std::string_view programFolder)
{
    return IsInTempFolder(programFolder, os::TempFolder());
}

std::string InstalledDocumentFolder(std::string_view executableFolder)
{
    const std::string_view folder = executableFolder.empty() ? "." : executableFolder;
    return cleanPath(JoinPath(folder, "../share/doc/kesmaro"));
}

std::string UserDataFolder()
{
    return cleanPath(JoinPath(os::UserDataRoot(), "kesmaro"));
}

std::string ResolveProgramFolder(std::string_view executableFolder)
{
    // An installed copy never writes beside itself, even where it could (root, a user install
    // in ~/.local/bin): settings and logs in a bin folder are lost to the next package update.
    const bool installed = isDirectory(InstalledDocumentFolder(executableFolder));
    // Writability is tried, not read from permission bits: ACLs and read-only mounts lie.
    if (!installed && os::CanCreateFileIn(PathFromUtf8(executableFolder)))
        return cleanPath(executableFolder);
    const std::string data = UserDataFolder();
    std::error_code ec;
    fs::create_directories(PathFromUtf8(data), ec);
    return data;
}

std::string ResolveDocumentFolder(std::string_view executableFolder,
                                  const std::vector<std::string>& documents)
{
    const std::string beside = cleanPath(executableFolder);
    for (const std::string& document : documents)
        if (FileExists(JoinPath(beside, document)))
            return beside;
    const std::string installed = InstalledDocumentFolder(executableFolder);
    return isDirectory(installed) ? installed : beside;
}

} // namespace kesmaro
