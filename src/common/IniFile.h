#pragma once

#include "common/Files.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

// An INI file in the dialect QSettings' IniFormat reads and writes, so that files such as
// KesmaroExtra.ini come out byte for byte as the Qt build has always written them: sections
// sorted by name with [General] (keys without a section) first, keys sorted, a blank line
// between sections, LF line ends, values quoted and escaped as QSettings does. Comments, blank
// lines and lines that are neither sections nor keys are dropped on writing, as there.
//
// Not reproduced: values spread over lines with a trailing backslash, and QSettings' typed
// values ("@ByteArray(...)", "@Variant(...)"), which are kept as written but not read.
class IniFile {
public:
    static IniFile Parse(std::string_view text);

    // Keys are "Section/Key" as with QSettings; "Key" alone lives in [General]. A value of
    // several comma-separated parts reads as an empty text, as QSettings' toString gives it.
    std::optional<std::string> value(std::string_view key) const;
    void setValue(std::string_view key, std::string_view value);

    std::string text() const;

    // The file's keys; an empty file when it is missing. Other failures keep their number.
    struct Loaded;
    static Loaded Load(const std::filesystem::path& path);
    // Replaces the file atomically, as QSettings' sync does; 0 or the error number.
    [[nodiscard]] int Save(const std::filesystem::path& path) const;

private:
    // Section -> key -> the value as the file writes it (escaped, quoted).
    std::map<std::string, std::map<std::string, std::string>> m_sections;
};

struct IniFile::Loaded {
    IniFile file;
    int error = 0;
};

} // namespace kesmaro
