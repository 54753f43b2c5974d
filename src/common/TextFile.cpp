#include "common/TextFile.h"

#include "common/Cp932.h"
#include "common/TrappedError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace kesmaro {

namespace {

const QByteArray kCrLf("\r\n", 2);

[[noreturn]] void raiseOpenError(const QString& path, bool forReading)
{
    const int savedErrno = errno;
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        Raise(ErrPathNotFound);
    if (forReading && !info.exists())
        Raise(ErrFileNotFound);
    if (savedErrno == EACCES || savedErrno == EROFS || savedErrno == EPERM)
        Raise(ErrPermissionDenied);
    if (savedErrno == ENOSPC)
        Raise(ErrDiskFull);
    Raise(ErrPathFileAccess);
}

[[noreturn]] void raiseWriteError()
{
    Raise(errno == ENOSPC || errno == EDQUOT ? ErrDiskFull : ErrPathFileAccess);
}

void writeLine(const QString& path, const QString& line, QIODevice::OpenMode mode)
{
    QFile file(path);
    errno = 0;
    if (!file.open(mode))
        raiseOpenError(path, false);
    const QByteArray bytes = EncodeCp932(line) + kCrLf;
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush())
        raiseWriteError();
    file.close();
    if (file.error() != QFileDevice::NoError)
        raiseWriteError();
}

} // namespace

void AppendTextLine(const QString& path, const QString& line)
{
    writeLine(path, line, QIODevice::WriteOnly | QIODevice::Append);
}

void RewriteTextLine(const QString& path, const QString& line)
{
    writeLine(path, line, QIODevice::WriteOnly | QIODevice::Truncate);
}

void WriteTextLinesAtomic(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += EncodeCp932(line) + kCrLf;
    QSaveFile file(path);
    errno = 0;
    // Unbuffered: a buffered QSaveFile takes a short write (full disk, size limit) for success
    // and commits a truncated file; unbuffered, the short count reaches the check below.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        raiseOpenError(path, false);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int savedErrno = errno;
        file.cancelWriting();
        errno = savedErrno;
        raiseWriteError();
    }
    errno = 0;
    if (!file.commit())
        raiseWriteError();
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        raiseOpenError(path, true);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Raise(ErrPathFileAccess);
    return bytes;
}

QStringList SplitTextLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

TextLineReader::TextLineReader(const QString& path)
    : m_lines(SplitTextLines(DecodeCp932(ReadFileBytes(path))))
{}

TextLineReader TextLineReader::FromBytes(const QByteArray& bytes)
{
    TextLineReader reader;
    reader.m_lines = SplitTextLines(DecodeCp932(bytes));
    return reader;
}

QString TextLineReader::readLine()
{
    if (atEnd())
        Raise(ErrPastEndOfFile);
    return m_lines[m_next++];
}

} // namespace kesmaro
