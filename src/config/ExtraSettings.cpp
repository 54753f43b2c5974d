#include "config/ExtraSettings.h"

#include "common/Files.h"
#include "common/IniFile.h"
#include "common/Paths.h"
#include "common/Text.h"

#include <algorithm>

namespace kesmaro {

namespace {

constexpr std::string_view kRollingKey = "StatusLine/RollingMinutes";
constexpr std::string_view kSourceKey = "Capture/Source";

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

std::string RollingMinutesPrompt()
{
    return "直近の時給を計算する期間（分）を入力してください（" +
           std::to_string(kRollingMinutesMin) + "～" + std::to_string(kRollingMinutesMax) + "）";
}

std::string ExtraSettingsPath(std::string_view programFolder)
{
    return JoinPath(programFolder, "KesmaroExtra.ini");
}

std::int32_t ClampRollingMinutes(std::int64_t minutes)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(minutes, kRollingMinutesMin, kRollingMinutesMax));
}

ExtraSettings LoadExtraSettings(std::string_view programFolder)
{
    ExtraSettings extra;
    const std::string path = ExtraSettingsPath(programFolder);
    if (!FileExists(path))
        return extra;
    const IniFile::Loaded loaded = IniFile::Load(PathFromUtf8(path));
    if (const std::optional<std::string> value = loaded.file.value(kRollingKey))
        if (const std::optional<std::int64_t> minutes = ParseInteger(TrimSpaces(*value)))
            extra.RollingMinutes = ClampRollingMinutes(*minutes);
    if (const std::optional<std::string> value = loaded.file.value(kSourceKey))
        extra.Source = ParseCaptureSource(*value);
    return extra;
}

bool SaveExtraSettings(std::string_view programFolder, const ExtraSettings& extra)
{
    const std::filesystem::path path = PathFromUtf8(ExtraSettingsPath(programFolder));
    // The other keys of the file stay as they are.
    IniFile::Loaded loaded = IniFile::Load(path);
    if (loaded.error != 0)
        return false;
    loaded.file.setValue(kRollingKey, std::to_string(ClampRollingMinutes(extra.RollingMinutes)));
    return loaded.file.Save(path) == 0;
}

bool SaveCaptureSource(std::string_view programFolder, CaptureSource source)
{
    const std::filesystem::path path = PathFromUtf8(ExtraSettingsPath(programFolder));
    IniFile::Loaded loaded = IniFile::Load(path);
    if (loaded.error != 0)
        return false;
    loaded.file.setValue(kSourceKey, std::string(CaptureSourceName(source)));
    return loaded.file.Save(path) == 0;
}

std::string_view CaptureSourceName(CaptureSource source)
{
    return source == CaptureSource::Screen ? "screen" : "window";
}

CaptureSource ParseCaptureSource(std::string_view text)
{
    return sameLetters(TrimSpaces(text), "screen") ? CaptureSource::Screen : CaptureSource::Window;
}

} // namespace kesmaro
