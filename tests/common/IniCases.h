#pragma once

#include <optional>
#include <string>

// What QSettings' IniFormat writes and reads, case by case. IniFileTest holds our INI code to
// these; IniFileQtTest (Linux) holds QSettings to them, so a table that drifts from Qt fails.
namespace kesmaro::test {

struct IniWriteCase {
    const char* name;
    std::optional<std::string> before; // the file before setValue; none: no file
    const char* key;
    const char* value;
    std::string after;
};

inline const IniWriteCase kIniWriteCases[] = {
    {"a new file", std::nullopt, "StatusLine/RollingMinutes", "90",
     "[StatusLine]\nRollingMinutes=90\n"},
    {"a value replaced", "[StatusLine]\nRollingMinutes=60\n", "StatusLine/RollingMinutes", "90",
     "[StatusLine]\nRollingMinutes=90\n"},
    {"CR LF, blanks and a comment", "; note\r\n[StatusLine]\r\nRollingMinutes = 60 \r\nOther=x\r\n",
     "StatusLine/RollingMinutes", "90", "[StatusLine]\nOther=x\nRollingMinutes=90\n"},
    {"sections and keys sorted",
     "[Zeta]\nb=2\na=1\n[StatusLine]\nRollingMinutes=60\n[Alpha]\nk=v\n",
     "StatusLine/RollingMinutes", "90",
     "[Alpha]\nk=v\n\n[StatusLine]\nRollingMinutes=90\n\n[Zeta]\na=1\nb=2\n"},
    {"General first", "[Alpha]\nx=1\n", "top", "1", "[General]\ntop=1\n\n[Alpha]\nx=1\n"},
    {"keys before any section are General", "top=1\n[StatusLine]\nRollingMinutes=60\n",
     "StatusLine/RollingMinutes", "90", "[General]\ntop=1\n\n[StatusLine]\nRollingMinutes=90\n"},
    {"case matters", "[statusline]\nrollingminutes=60\n", "StatusLine/RollingMinutes", "90",
     "[StatusLine]\nRollingMinutes=90\n\n[statusline]\nrollingminutes=60\n"},
    {"duplicates: the last key wins, sections merge", "[S]\nA=1\nA=3\n[X]\ny=1\n[S]\nB=2\n", "S/C",
     "4", "[S]\nA=3\nB=2\nC=4\n\n[X]\ny=1\n"},
    {"junk lines dropped, no final line end needed", "junk\n\n[S]\n\n=5\nk=1", "S/z", "1",
     "[S]\n=5\nk=1\nz=1\n"},
    {"quotes, escapes and comments undone and redone",
     "[S]\nk=\"a;b\"\nm=\\x41\\t\nn=\"x\" y \"z\"\no=a ;c\np=\"\"\nq=45#x\n", "S/z", "1",
     "[S]\nk=\"a;b\"\nm=A\\t\nn=xy z\no=a\np=\nq=45#x\nz=1\n"},
    {"comma lists", "[S]\nk=a,,b\nm=,\nn= a , \" b\" \n", "S/z", "1",
     "[S]\nk=a, , b\nm=, \nn=a, \" b\"\nz=1\n"},
    {"@ values", "[S]\nk=@@x\nm=@Invalid()\n", "S/z", "@y", "[S]\nk=@@x\nm=@Invalid()\nz=@@y\n"},
    {"names escaped", "[a%20b]\nk%2B=1\nc d=2\n[経験]\nx\\y=3\n", "S/経", "1",
     "[S]\n%U7D4C=1\n\n[a%20b]\nc%20d=2\nk%2B=1\n\n[%U7D4C%U9A13]\nx\\y=3\n"},
    {"a value needing quotes", std::nullopt, "S/k", "a,b;c=\"d\" ",
     "[S]\nk=\"a,b;c=\\\"d\\\" \"\n"},
    {"a value with blanks at an end", std::nullopt, "S/k", " x", "[S]\nk=\" x\"\n"},
    {"a value with controls and backslashes", std::nullopt, "S/k", "a\tb\nc\\d",
     "[S]\nk=a\\tb\\nc\\\\d\n"},
    {"a value in Japanese, unquoted", std::nullopt, "S/k", "経験 値", "[S]\nk=経験 値\n"},
    {"a value that needs nothing", std::nullopt, "S/k", "a#b'[c]", "[S]\nk=a#b'[c]\n"},
    {"an empty value", std::nullopt, "S/k", "", "[S]\nk=\n"},
};

struct IniReadCase {
    const char* line; // under [S], read as S/k
    std::optional<std::string> value;
};

inline const IniReadCase kIniReadCases[] = {
    {"k=45", "45"},
    {"k=  45  ", "45"},
    {"  k  =7", "7"},
    {"k=\" 45 \"", " 45 "},
    {"k=4,5", ""}, // a list reads as an empty text
    {"k=45 ;x", "45"},
    {"k=45#x", "45#x"},
    {"k=\\x34\\x35", "45"},
    {"k=\\101", "A"},
    {"k=x\\\"y\"z\"", "x\"yz"},
    {"k=@@x", "@x"},
    {"k=@Invalid()", std::nullopt},
    {"K=1", std::nullopt},
    {";k=1", std::nullopt},
};

} // namespace kesmaro::test
