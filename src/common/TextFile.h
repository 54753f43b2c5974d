#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kesmaro {

// The program's text files (settings, debug log, record files) are CP932 with CR LF line ends.
// Every function here throws TrappedError (53, 61, 62, 70, 75, 76) on failure.

// Opens, appends one line and its CR LF, closes: each line is on disk before this returns.
void AppendTextLine(const QString& path, const QString& line);
// Creates or truncates the file and writes one line and its CR LF.
void RewriteTextLine(const QString& path, const QString& line);
// Replaces the file atomically: readers see the old file or the whole new one, never a part.
void WriteTextLinesAtomic(const QString& path, const QStringList& lines);
// Raw bytes of a whole file.
QByteArray ReadFileBytes(const QString& path);

// Reads a CP932 file line by line. A line ends at CR LF, a lone CR or a lone LF; the text after
// the last line end is a last line when it is not empty.
class TextLineReader {
public:
    explicit TextLineReader(const QString& path);
    static TextLineReader FromBytes(const QByteArray& bytes);

    bool atEnd() const { return m_next >= m_lines.size(); }
    // The next line; error 62 past the last one.
    QString readLine();
    int lineNumber() const { return static_cast<int>(m_next); }

private:
    TextLineReader() = default;
    QStringList m_lines;
    qsizetype m_next = 0;
};

QStringList SplitTextLines(const QString& text);

} // namespace kesmaro
