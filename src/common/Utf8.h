#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kesmaro {

// Text in the core is UTF-8. Where a rule counts characters (a folder name's first two, a
// key filter, Len/Mid-style steps), these count code points, never bytes.
//
// Invalid UTF-8 never stops them: each maximal ill-formed subsequence (as the Unicode
// standard defines it, so a truncated sequence is one) counts as one character, decodes as
// U+FFFD and is kept byte for byte by the slicing functions.

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code point starting at byte `pos`, advancing `pos` past it; U+FFFD for an ill-formed
// sequence. `pos` must be below text.size().
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Walks the code points of a text: for (char32_t c : CodePoints(text)).
class CodePoints {
public:
    explicit CodePoints(std::string_view text) : m_text(text) {}

    class iterator {
    public:
        using value_type = char32_t;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(std::string_view text, std::size_t pos) : m_text(text), m_pos(pos) { load(); }
        char32_t operator*() const { return m_current; }
        iterator& operator++()
        {
            m_pos = m_next;
            load();
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++*this;
            return before;
        }
        // The byte offset of the current character.
        std::size_t offset() const { return m_pos; }
        bool operator==(const iterator& other) const { return m_pos == other.m_pos; }

    private:
        void load()
        {
            m_next = m_pos;
            if (m_pos < m_text.size())
                m_current = NextCodePoint(m_text, m_next);
        }
        std::string_view m_text;
        std::size_t m_pos = 0;
        std::size_t m_next = 0;
        char32_t m_current = 0;
    };

    iterator begin() const { return {m_text, 0}; }
    iterator end() const { return {m_text, m_text.size()}; }

private:
    std::string_view m_text;
};

// The number of characters.
std::size_t Utf8Length(std::string_view text);

// Slices by characters, clamped to the text as QString's left/mid/right are: a count past the
// end takes the rest. `first` counts from 0.
std::string_view Utf8Left(std::string_view text, std::size_t count);
std::string_view Utf8Right(std::string_view text, std::size_t count);
std::string_view Utf8Mid(std::string_view text, std::size_t first,
                         std::size_t count = std::string_view::npos);

// Appends one code point; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

// UTF-8 <-> UTF-16. Ill-formed input (bad UTF-8, unpaired surrogates) becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// UTF-8 <-> the wide strings of the Windows API (UTF-16 there; UTF-32 where wchar_t has 32
// bits, so that the pair also round-trips on Linux).
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

} // namespace kesmaro
