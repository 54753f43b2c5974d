#include "common/TextFile.h"

#include "common/Cp932.h"
#include "common/Files.h"
#include "common/TrappedError.h"

#include <utility>

namespace kesmaro {

namespace {

void check(int error)
{
    if (error != 0)
        Raise(error);
}

} // namespace

void AppendTextLine(std::string_view path, std::string_view line)
{
    check(AppendLineAndClose(PathFromUtf8(path), EncodeCp932(line)));
}

void RewriteTextLine(std::string_view path, std::string_view line)
{
    check(RewriteLineAndClose(PathFromUtf8(path), EncodeCp932(line)));
}

void WriteTextLinesAtomic(std::string_view path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += EncodeCp932(line) + "\r\n";
    check(ReplaceFileAtomic(PathFromUtf8(path), bytes));
}

std::string ReadFileBytes(std::string_view path)
{
    FileBytes file = ReadWholeFile(PathFromUtf8(path));
    check(file.error);
    return std::move(file.bytes);
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.emplace_back(text.substr(start));
    return lines;
}

TextLineReader::TextLineReader(std::string_view path)
    : m_lines(SplitTextLines(DecodeCp932(ReadFileBytes(path))))
{}

TextLineReader TextLineReader::FromBytes(std::string_view bytes)
{
    TextLineReader reader;
    reader.m_lines = SplitTextLines(DecodeCp932(bytes));
    return reader;
}

std::string TextLineReader::readLine()
{
    if (atEnd())
        Raise(ErrPastEndOfFile);
    return m_lines[m_next++];
}

} // namespace kesmaro
