#pragma once

#include <QString>
#include <cstdint>

namespace kesmaro {

// Builds a long text from many pieces in a pre-sized buffer: one in-place copy per piece.
// Starts with room for 1024 characters and grows in steps of exactly 256, always keeping at
// least one spare character. Lengths beyond 32-bit signed raise error 6.
class clsStringBuffer {
public:
    clsStringBuffer();

    QString Text() const { return m_buffer.left(m_length); }
    void setText(const QString& newText);

    std::int32_t BufferSize() const { return m_capacity; }
    // Grows with blanks or cuts the buffer. Cutting at or below the content's length cuts the
    // content too; 0 or less is ignored.
    void setBufferSize(std::int32_t newSize);

    void Append(const QString& addText);
    void Append2(const QString& addText, const QString& addText2);
    void AppendLF(const QString& addText);
    void Append2LF(const QString& addText, const QString& addText2);

    std::int32_t length() const { return m_length; }

private:
    void reserveFor(std::int64_t newLength);
    void put(const QString& piece);

    QString m_buffer;
    std::int32_t m_length = 0;
    std::int32_t m_capacity = 0;
};

} // namespace kesmaro
