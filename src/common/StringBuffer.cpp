#include "common/StringBuffer.h"

#include "common/TrappedError.h"

#include <algorithm>
#include <limits>

namespace kesmaro {

namespace {

constexpr std::int32_t kInitialSize = 1024;
constexpr std::int32_t kGrowStep = 256;
const QString kCrLf = QStringLiteral("\r\n");

std::int32_t checkedLength(std::int64_t value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        Raise(ErrOverflow);
    return static_cast<std::int32_t>(value);
}

} // namespace

clsStringBuffer::clsStringBuffer()
    : m_buffer(kInitialSize, QLatin1Char(' ')), m_capacity(kInitialSize)
{}

void clsStringBuffer::setBufferSize(std::int32_t newSize)
{
    if (newSize < 1 || newSize == m_capacity)
        return;
    if (newSize > m_capacity) {
        m_buffer.append(QString(newSize - m_capacity, QLatin1Char(' ')));
    } else {
        m_buffer.truncate(newSize);
        m_length = std::min(m_length, newSize - 1);
    }
    m_capacity = newSize;
}

void clsStringBuffer::reserveFor(std::int64_t newLength)
{
    const std::int32_t target = checkedLength(newLength);
    std::int64_t capacity = m_capacity;
    while (target >= capacity)
        capacity += kGrowStep;
    setBufferSize(checkedLength(capacity));
}

void clsStringBuffer::put(const QString& piece)
{
    std::copy(piece.cbegin(), piece.cend(), m_buffer.begin() + m_length);
    m_length += static_cast<std::int32_t>(piece.size());
}

void clsStringBuffer::setText(const QString& newText)
{
    reserveFor(newText.size());
    m_length = 0;
    put(newText);
}

void clsStringBuffer::Append(const QString& addText)
{
    if (addText.isEmpty())
        return;
    reserveFor(std::int64_t{m_length} + addText.size());
    put(addText);
}

void clsStringBuffer::Append2(const QString& addText, const QString& addText2)
{
    if (addText.isEmpty() && addText2.isEmpty())
        return;
    reserveFor(std::int64_t{m_length} + addText.size() + addText2.size());
    put(addText);
    put(addText2);
}

void clsStringBuffer::AppendLF(const QString& addText)
{
    reserveFor(std::int64_t{m_length} + addText.size() + 2);
    put(addText);
    put(kCrLf);
}

void clsStringBuffer::Append2LF(const QString& addText, const QString& addText2)
{
    reserveFor(std::int64_t{m_length} + addText.size() + addText2.size() + 2);
    put(addText);
    put(addText2);
    put(kCrLf);
}

} // namespace kesmaro
