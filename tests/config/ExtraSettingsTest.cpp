#include "config/ExtraSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(ExtraSettings, AMissingFileGivesTheDefaultAndASavedValueComesBack)
{
    QTemporaryDir dir;
    EXPECT_EQ(LoadExtraSettings(dir.path()).RollingMinutes, kRollingMinutesDefault);
    EXPECT_TRUE(SaveExtraSettings(dir.path(), ExtraSettings{90}));
    EXPECT_EQ(LoadExtraSettings(dir.path()).RollingMinutes, 90);
    // Only its own file: the settings file is not created or touched.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"KesmaroExtra.ini"_qs});
}

TEST(ExtraSettings, ValuesOutsideTheBoundsOrNotNumbersAreCorrected)
{
    const struct {
        const char* value;
        std::int32_t loaded;
    } cases[] = {{"5", 10},    {"10", 10}, {"240", 240},
                 {"241", 240}, {"-3", 10}, {"99999999999999999999", 60},
                 {"abc", 60},  {"", 60},   {" 45 ", 45}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        writeFile(ExtraSettingsPath(dir.path()),
                  QByteArray("[StatusLine]\nRollingMinutes=") + c.value + '\n');
        EXPECT_EQ(LoadExtraSettings(dir.path()).RollingMinutes, c.loaded) << c.value;
    }
    QTemporaryDir dir;
    EXPECT_TRUE(SaveExtraSettings(dir.path(), ExtraSettings{1000}));
    EXPECT_EQ(LoadExtraSettings(dir.path()).RollingMinutes, 240);
}
