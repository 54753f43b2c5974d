#pragma once

#include "common/Format.h"
#include "common/Paths.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <string>
#include <vector>

// Qt views of common/'s standard types, for the layers above it that still speak Qt; they go
// when those layers are ported.
namespace kesmaro {

// A local wall-clock reading as a QDateTime in the local time zone.
inline QDateTime ToQDateTime(LocalDateTime value)
{
    const auto ms = value.time_since_epoch().count();
    // The local reading is built field by field: adding an offset to an instant would be
    // off by an hour on the day daylight saving changes.
    const QDateTime utcFields = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
    return QDateTime(utcFields.date(), utcFields.time());
}

// The common/ calls the layers above make most often, taking and giving Qt text.
inline double Val(const QString& text)
{
    return Val(text.toStdString());
}

inline bool FileExists(const QString& path)
{
    return FileExists(path.toStdString());
}

inline QString JoinPath(const QString& folder, const QString& name)
{
    return QString::fromStdString(JoinPath(folder.toStdString(), name.toStdString()));
}

inline QString GetFileName(const QString& path)
{
    return QString::fromStdString(GetFileName(path.toStdString()));
}

inline QStringList ToQStringList(const std::vector<std::string>& texts)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts)
        list.append(QString::fromStdString(text));
    return list;
}

inline std::vector<std::string> ToStdStrings(const QStringList& list)
{
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(list.size()));
    for (const QString& text : list)
        texts.push_back(text.toStdString());
    return texts;
}

} // namespace kesmaro
