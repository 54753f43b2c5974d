#include "common/Paths.h"

#include "common/TrappedError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

TEST(PathsTest, GetFileNameTakesTheLastComponent)
{
    EXPECT_EQ(GetFileName(QStringLiteral("/opt/kesmaro/ReadMe.txt")), QStringLiteral("ReadMe.txt"));
    EXPECT_EQ(GetFileName(QStringLiteral("ReadMe.txt")), QStringLiteral("ReadMe.txt"));
    EXPECT_EQ(GetFileName(QStringLiteral("/opt/kesmaro/")), QString());
    EXPECT_EQ(GetFileName(QStringLiteral("http://example.org/help")), QStringLiteral("help"));
}

TEST(PathsTest, CreateFolderPathMakesEveryLevelAndEndsInASeparator)
{
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/a/b");
    CreateFolderPath(path);
    EXPECT_EQ(path, dir.path() + QStringLiteral("/a/b/"));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/a/b")).isDir());
    CreateFolderPath(path); // existing levels are fine
    EXPECT_EQ(path, dir.path() + QStringLiteral("/a/b/"));
    EXPECT_TRUE(FileExists(dir.path() + QStringLiteral("/a")));
    EXPECT_FALSE(FileExists(dir.path() + QStringLiteral("/c")));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(PathsTest, CreateFolderPathRaisesWhenALevelIsAFileOrUnwritable)
{
    QTemporaryDir dir;
    QFile file(dir.path() + QStringLiteral("/plain"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString through = dir.path() + QStringLiteral("/plain/sub");
    EXPECT_THROW(CreateFolderPath(through), TrappedError);
    QString underProc = QStringLiteral("/proc/kesmaro-test/x");
    EXPECT_THROW(CreateFolderPath(underProc), TrappedError);
}

TEST(PathsTest, TempFolderNestingComparesWholeComponents)
{
    const QString temp = QStringLiteral("/tmp");
    EXPECT_TRUE(IsInTempFolder(QStringLiteral("/tmp"), temp));
    EXPECT_TRUE(IsInTempFolder(QStringLiteral("/tmp/archive/kesmaro"), temp));
    EXPECT_TRUE(IsInTempFolder(QStringLiteral("/"), temp)); // the temp folder inside the program's
    EXPECT_FALSE(IsInTempFolder(QStringLiteral("/home/me/tmp/kesmaro"), temp));
    EXPECT_FALSE(IsInTempFolder(QStringLiteral("/tmpfiles/kesmaro"), temp));
    EXPECT_FALSE(IsInTempFolder(QStringLiteral("/opt/kesmaro"), temp));
    EXPECT_TRUE(IsInTempFolder(QDir::tempPath() + QStringLiteral("/x")));
}

TEST(PathsTest, ProgramFolderFallsBackWhenNotWritable)
{
    QTemporaryDir dir;
    EXPECT_EQ(ResolveProgramFolder(dir.path()), QDir::toNativeSeparators(dir.path()));
    const QString fallback = ResolveProgramFolder(QStringLiteral("/proc"));
    EXPECT_NE(fallback, QStringLiteral("/proc"));
    EXPECT_FALSE(fallback.isEmpty());
}

namespace {

bool MakeFolder(const QString& path)
{
    return QDir().mkpath(path);
}

bool MakeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

// An installed copy (<prefix>/bin beside <prefix>/share/doc/kesmaro) writes into the per-user
// data folder even where its bin folder is writable, and leaves nothing there.
TEST(PathsTest, AnInstalledCopyUsesThePerUserFolderEvenWhenItsFolderIsWritable)
{
    QTemporaryDir prefix;
    const QString bin = prefix.filePath(QStringLiteral("bin"));
    ASSERT_TRUE(MakeFolder(bin));
    ASSERT_TRUE(MakeFolder(prefix.filePath(QStringLiteral("share/doc/kesmaro"))));
    EXPECT_EQ(InstalledDocumentFolder(bin),
              QDir::toNativeSeparators(prefix.filePath(QStringLiteral("share/doc/kesmaro"))));
    const QString folder = ResolveProgramFolder(bin);
    EXPECT_NE(folder, QDir::toNativeSeparators(bin));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(bin).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST(PathsTest, DocumentsComeFromBesideTheExecutableFirstThenTheInstalledFolder)
{
    const QStringList documents{QStringLiteral("ReadMeD.txt"), QStringLiteral("使用方法D.html")};
    struct Row {
        const char* name;
        bool besideHasOne, installedExists;
        const char* expected; // folder under the prefix
    };
    const Row rows[] = {
        {"build tree or portable copy", true, false, "bin"},
        {"portable copy that also finds an installed one", true, true, "bin"},
        {"installed", false, true, "share/doc/kesmaro"},
        {"no documents anywhere: reported beside the executable", false, false, "bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(MakeFolder(bin));
        if (row.besideHasOne) {
            ASSERT_TRUE(MakeFile(QDir(bin).filePath(documents[1])));
        }
        if (row.installedExists) {
            ASSERT_TRUE(MakeFolder(prefix.filePath(QStringLiteral("share/doc/kesmaro"))));
        }
        EXPECT_EQ(ResolveDocumentFolder(bin, documents),
                  QDir::toNativeSeparators(prefix.filePath(QString::fromUtf8(row.expected))));
    }
}
