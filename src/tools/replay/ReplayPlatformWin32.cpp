#include "common/Utf8.h"
#include "platform/ImageFiles.h"
#include "tools/replay/ReplayPlatform.h"
#include "ui/win32/GdiGraphPainter.h"

// windows.h first: the other Windows headers build on it.
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

namespace kesmaro {

// The image files go through GDI+, which the image seam starts itself; the graph is painted
// off screen by the front end's GDI painter, so no window is needed.
struct ReplayPlatform::State {};

ReplayPlatform::ReplayPlatform(int&, char**) {}

ReplayPlatform::~ReplayPlatform() = default;

// From the wide command line: main's narrow arguments are in the ANSI code page, which cannot
// hold every folder name.
std::vector<std::string> ReplayPlatform::arguments() const
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** given = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!given)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(WideToUtf8(given[i]));
    LocalFree(given);
    return arguments;
}

GraphPngWriter ReplayPlatform::graphWriter() const
{
    return [](const GraphPicture& picture, const std::string& path) {
        const PixelBuffer pixels = RenderGraph(picture);
        return !pixels.isEmpty() && WriteImageFile(pixels, std::filesystem::path(Utf8ToWide(path)),
                                                   ImageFormat::Png) == ImageFileStatus::Ok;
    };
}

} // namespace kesmaro
