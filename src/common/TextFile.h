#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// The program's text files (settings, debug log, record files) are CP932 with CR LF line ends;
// paths and lines here are UTF-8. Every function here throws TrappedError (53, 61, 62, 70, 75,
// 76) on failure.

// Opens, appends one line and its CR LF, closes: each line is on disk before this returns.
void AppendTextLine(std::string_view path, std::string_view line);
// Creates or truncates the file and writes one line and its CR LF.
void RewriteTextLine(std::string_view path, std::string_view line);
// Replaces the file atomically: readers see the old file or the whole new one, never a part.
void WriteTextLinesAtomic(std::string_view path, const std::vector<std::string>& lines);
// Raw bytes of a whole file.
std::string ReadFileBytes(std::string_view path);

// Reads a CP932 file line by line. A line ends at CR LF, a lone CR or a lone LF; the text after
// the last line end is a last line when it is not empty.
class TextLineReader {
public:
    explicit TextLineReader(std::string_view path);
    static TextLineReader FromBytes(std::string_view bytes);

    bool atEnd() const { return m_next >= m_lines.size(); }
    // The next line; error 62 past the last one.
    std::string readLine();
    int lineNumber() const { return static_cast<int>(m_next); }

private:
    TextLineReader() = default;
    std::vector<std::string> m_lines;
    std::size_t m_next = 0;
};

std::vector<std::string> SplitTextLines(std::string_view text);

} // namespace kesmaro
