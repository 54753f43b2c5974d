// QSettings against the table our INI code is held to: when Qt and the table disagree, the
// table is wrong, and so is our INI code.
#include "IniCases.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

QString writeFile(const QTemporaryDir& dir, const std::string& bytes)
{
    const QString path = dir.filePath(QStringLiteral("KesmaroExtra.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace

TEST(IniFileAgainstQSettings, WritesTheTable)
{
    for (const auto& c : test::kIniWriteCases) {
        QTemporaryDir dir;
        const QString path =
            c.before ? writeFile(dir, *c.before) : dir.filePath(QStringLiteral("KesmaroExtra.ini"));
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue(QString::fromUtf8(c.key), QString::fromUtf8(c.value));
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.name;
        EXPECT_EQ(file.readAll().toStdString(), c.after) << c.name;
    }
}

TEST(IniFileAgainstQSettings, ReadsTheTable)
{
    for (const auto& c : test::kIniReadCases) {
        QTemporaryDir dir;
        const QSettings settings(writeFile(dir, std::string("[S]\n") + c.line + "\n"),
                                 QSettings::IniFormat);
        const QVariant v = settings.value(QStringLiteral("S/k"));
        const std::optional<std::string> got =
            v.isValid() ? std::optional(v.toString().toStdString()) : std::nullopt;
        EXPECT_EQ(got, c.value) << c.line;
    }
}
