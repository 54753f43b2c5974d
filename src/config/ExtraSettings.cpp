#include "config/ExtraSettings.h"

#include "common/Paths.h"
#include "config/CommonQt.h"

#include <QSettings>
#include <algorithm>

namespace kesmaro {

namespace {

const QString kRollingKey = QStringLiteral("StatusLine/RollingMinutes");

} // namespace

QString RollingMinutesPrompt()
{
    return QStringLiteral("直近の時給を計算する期間（分）を入力してください（%1～%2）")
        .arg(kRollingMinutesMin)
        .arg(kRollingMinutesMax);
}

QString ExtraSettingsPath(const QString& programFolder)
{
    return JoinPath(programFolder, QStringLiteral("KesmaroExtra.ini"));
}

std::int32_t ClampRollingMinutes(std::int64_t minutes)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(minutes, kRollingMinutesMin, kRollingMinutesMax));
}

ExtraSettings LoadExtraSettings(const QString& programFolder)
{
    ExtraSettings extra;
    const QString path = ExtraSettingsPath(programFolder);
    if (!FileExists(path))
        return extra;
    const QSettings file(path, QSettings::IniFormat);
    bool ok = false;
    const qlonglong minutes = file.value(kRollingKey).toString().trimmed().toLongLong(&ok);
    if (ok)
        extra.RollingMinutes = ClampRollingMinutes(minutes);
    return extra;
}

bool SaveExtraSettings(const QString& programFolder, const ExtraSettings& extra)
{
    QSettings file(ExtraSettingsPath(programFolder), QSettings::IniFormat);
    file.setValue(kRollingKey, ClampRollingMinutes(extra.RollingMinutes));
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace kesmaro
