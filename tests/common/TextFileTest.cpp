#include "common/TextFile.h"

#include "ErrorOf.h"
#include "common/TrappedError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

using test::errorOf;

class TextFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TextFileTest, AtomicWriteReplacesWholeFile)
{
    const QString file = path(QStringLiteral("settings.ini"));
    WriteTextLinesAtomic(file, {QStringLiteral("old"), QStringLiteral("content")});
    WriteTextLinesAtomic(file, {QStringLiteral("new"), QString()});
    EXPECT_EQ(ReadFileBytes(file), QByteArray("new\r\n\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(TextFileTest, ReaderSplitsEveryLineEndAndRaisesPastTheEnd)
{
    TextLineReader reader = TextLineReader::FromBytes(QByteArray("a\r\nb\nc\rd\r\n\r\ne", 13));
    QStringList lines;
    while (!reader.atEnd())
        lines << reader.readLine();
    EXPECT_EQ(lines, QStringList({"a", "b", "c", "d", "", "e"}));
    EXPECT_EQ(errorOf([&] { reader.readLine(); }), ErrPastEndOfFile);
    EXPECT_TRUE(TextLineReader::FromBytes(QByteArray()).atEnd());
}

TEST_F(TextFileTest, FailuresCarryTheirErrorNumbers)
{
    EXPECT_EQ(errorOf([&] { ReadFileBytes(path(QStringLiteral("missing.txt"))); }),
              ErrFileNotFound);
    EXPECT_EQ(errorOf([&] { AppendTextLine(path(QStringLiteral("no/such/dir.txt")), {}); }),
              ErrPathNotFound);
    EXPECT_EQ(errorOf([&] { WriteTextLinesAtomic(path(QStringLiteral("no/dir.ini")), {}); }),
              ErrPathNotFound);
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        EXPECT_EQ(errorOf([] { AppendTextLine(QStringLiteral("/dev/full"), QStringLiteral("x")); }),
                  ErrDiskFull);
    }
}
