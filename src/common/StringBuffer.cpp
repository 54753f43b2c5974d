#include "common/StringBuffer.h"

#include "common/TrappedError.h"
#include "common/Utf8.h"

#include <limits>

namespace kesmaro {

namespace {

constexpr std::int32_t kInitialSize = 1024;
constexpr std::int32_t kGrowStep = 256;
constexpr std::string_view kCrLf = "\r\n";

std::int32_t checkedLength(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        Raise(ErrOverflow);
    return static_cast<std::int32_t>(value);
}

std::int64_t characters(std::string_view text)
{
    return static_cast<std::int64_t>(Utf8Length(text));
}

} // namespace

clsStringBuffer::clsStringBuffer() : m_capacity(kInitialSize)
{
    m_text.reserve(kInitialSize);
}

void clsStringBuffer::setBufferSize(std::int32_t newSize)
{
    if (newSize < 1 || newSize == m_capacity)
        return;
    if (newSize <= m_length) {
        m_text.resize(Utf8Left(m_text, static_cast<std::size_t>(newSize - 1)).size());
        m_length = newSize - 1;
    }
    m_capacity = newSize;
    m_text.reserve(static_cast<std::size_t>(m_capacity));
}

void clsStringBuffer::reserveFor(std::int64_t newLength)
{
    const std::int32_t target = checkedLength(newLength);
    std::int64_t capacity = m_capacity;
    while (target >= capacity)
        capacity += kGrowStep;
    setBufferSize(checkedLength(capacity));
}

void clsStringBuffer::put(std::string_view piece, std::int64_t characters)
{
    m_text += piece;
    m_length += static_cast<std::int32_t>(characters);
}

void clsStringBuffer::setText(std::string_view newText)
{
    const std::int64_t n = characters(newText);
    reserveFor(n);
    m_text.clear();
    m_length = 0;
    put(newText, n);
}

void clsStringBuffer::Append(std::string_view addText)
{
    if (addText.empty())
        return;
    const std::int64_t n = characters(addText);
    reserveFor(std::int64_t{m_length} + n);
    put(addText, n);
}

void clsStringBuffer::Append2(std::string_view addText, std::string_view addText2)
{
    if (addText.empty() && addText2.empty())
        return;
    const std::int64_t n = characters(addText);
    const std::int64_t n2 = characters(addText2);
    reserveFor(std::int64_t{m_length} + n + n2);
    put(addText, n);
    put(addText2, n2);
}

void clsStringBuffer::AppendLF(std::string_view addText)
{
    const std::int64_t n = characters(addText);
    reserveFor(std::int64_t{m_length} + n + 2);
    put(addText, n);
    put(kCrLf, 2);
}

void clsStringBuffer::Append2LF(std::string_view addText, std::string_view addText2)
{
    const std::int64_t n = characters(addText);
    const std::int64_t n2 = characters(addText2);
    reserveFor(std::int64_t{m_length} + n + n2 + 2);
    put(addText, n);
    put(addText2, n2);
    put(kCrLf, 2);
}

} // namespace kesmaro
