#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

// Builds a long text from many pieces in a pre-sized buffer: one in-place copy per piece.
// Starts with room for 1024 characters and grows in steps of exactly 256, always keeping at
// least one spare character. Sizes and lengths count characters of the UTF-8 text, not bytes.
// Lengths beyond 32-bit signed raise error 6.
class clsStringBuffer {
public:
    clsStringBuffer();

    const std::string& Text() const { return m_text; }
    void setText(std::string_view newText);

    std::int32_t BufferSize() const { return m_capacity; }
    // Grows or cuts the buffer. Cutting at or below the content's length cuts the content too;
    // 0 or less is ignored.
    void setBufferSize(std::int32_t newSize);

    void Append(std::string_view addText);
    void Append2(std::string_view addText, std::string_view addText2);
    void AppendLF(std::string_view addText);
    void Append2LF(std::string_view addText, std::string_view addText2);

    std::int32_t length() const { return m_length; }

private:
    void reserveFor(std::int64_t newLength);
    void put(std::string_view piece, std::int64_t characters);

    std::string m_text;
    std::int32_t m_length = 0;
    std::int32_t m_capacity = 0;
};

} // namespace kesmaro
