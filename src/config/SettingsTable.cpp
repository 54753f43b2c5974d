#include "config/SettingsTable.h"

#include "common/Format.h"
#include "common/Text.h"
#include "common/TextFile.h"
#include "common/Trap.h"
#include "common/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

namespace kesmaro {

namespace {

// ---------------------------------------------------------------------------------------------
// Field conversion

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal number as the classic conversions accept it: optional sign, digits, optional
// fraction. Views into the text, so that a megabyte of digits costs one pass.
struct NumberText {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};

std::optional<NumberText> parseNumber(std::string_view text)
{
    NumberText number;
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        number.negative = text[i] == '-';
        ++i;
    }
    const std::size_t wholeStart = i;
    while (i < n && isDigit(text[i]))
        ++i;
    number.whole = text.substr(wholeStart, i - wholeStart);
    if (i < n && text[i] == '.') {
        const std::size_t fractionStart = ++i;
        while (i < n && isDigit(text[i]))
            ++i;
        number.fraction = text.substr(fractionStart, i - fractionStart);
    }
    if (i != n || (number.whole.empty() && number.fraction.empty()))
        return std::nullopt;
    return number;
}

// A whole number field; a fraction rounds half to even. 13 when the text is no number, 6 when
// it does not fit 32 bits.
std::int32_t toWhole(std::string_view text)
{
    const std::optional<NumberText> number = parseNumber(text);
    if (!number)
        Raise(ErrTypeMismatch);
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t value = 0;
    for (char c : number->whole) {
        value = value * 10 + (c - '0');
        if (value > kLimit)
            Raise(ErrOverflow);
    }
    if (!number->fraction.empty()) {
        const int first = number->fraction[0] - '0';
        bool beyondHalf = false;
        for (char c : number->fraction.substr(1))
            beyondHalf = beyondHalf || c != '0';
        if (first > 5 || (first == 5 && (beyondHalf || value % 2 == 1)))
            ++value;
    }
    if (number->negative)
        value = -value;
    if (value > kLimit - 1 || value < -kLimit)
        Raise(ErrOverflow);
    return static_cast<std::int32_t>(value);
}

// A flag field: the words True and False in any case, or a number (true when not zero).
bool toBoolean(std::string_view text)
{
    if (EqualsIgnoringAsciiCase(text, "True"))
        return true;
    if (EqualsIgnoringAsciiCase(text, "False"))
        return false;
    const std::optional<NumberText> number = parseNumber(text);
    if (!number)
        Raise(ErrTypeMismatch);
    for (std::string_view digits : {number->whole, number->fraction})
        for (char c : digits)
            if (c != '0')
                return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Splitting a line into its fields

using FieldList = std::vector<std::string>;

std::string trimmed(std::string_view text)
{
    return std::string(TrimBlanks(text));
}

// The values of a line whose comment is cut off: each value but the last ends at the writer's
// " ," (or at a plain comma in a hand-written line), the last one takes the rest. So a folder
// or application path holding commas comes back whole.
FieldList splitValues(std::string_view values, int count)
{
    FieldList fields;
    std::size_t start = 0;
    for (int i = 0; i + 1 < count; ++i) {
        std::size_t end = values.find(" ,", start);
        std::size_t next = end + 2;
        if (end == std::string_view::npos) {
            end = values.find(',', start);
            next = end + 1;
        }
        if (end == std::string_view::npos)
            return fields;
        fields.push_back(trimmed(values.substr(start, end - start)));
        start = next;
    }
    fields.push_back(trimmed(values.substr(std::min(start, values.size()))));
    return fields;
}

// A hand-edited comment may hold commas too; the writer's " ," separators still tell the
// values apart when there are as many of them as values.
bool splitAtWriterSeparators(std::string_view line, int count, FieldList& fields)
{
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && start < line.size() && line[start] == ' ')
            ++start;
        const std::size_t separator = line.find(" ,", start);
        if (separator == std::string_view::npos)
            return false;
        fields.push_back(trimmed(line.substr(start, separator - start)));
        start = separator + 2;
    }
    return true;
}

// The first `count` fields of a line, blanks around them dropped; the rest is the comment.
// `comment` is what the writer puts after the last value of a line holding texts, empty for
// lines of numbers and flags. A line may hold fewer fields: asking for a missing one fails.
FieldList splitFields(std::string_view line, int count, std::string_view comment = {})
{
    FieldList fields;
    if (!comment.empty()) {
        if (EndsWith(line, comment))
            return splitValues(line.substr(0, line.size() - comment.size()), count);
        if (CountOccurrences(line, ",") > count && splitAtWriterSeparators(line, count, fields))
            return fields;
        fields.clear();
    }
    std::size_t start = 0;
    while (static_cast<int>(fields.size()) < count) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return fields;
}

class Fields {
public:
    explicit Fields(FieldList fields) : m_fields(std::move(fields)) {}

    const std::string& text(int i) const
    {
        if (static_cast<std::size_t>(i) >= m_fields.size())
            Raise(ErrPastEndOfFile);
        return m_fields[i];
    }
    std::int32_t whole(int i) const { return toWhole(text(i)); }
    bool flag(int i) const { return toBoolean(text(i)); }

private:
    FieldList m_fields;
};

// ---------------------------------------------------------------------------------------------
// The fields

// How a field is written and read. A column is FormatColumn's 8 characters, whose blanks stand
// around the commas; a raw text gets a blank each side of a comma instead.
enum class Kind {
    Title,      // written as the program's title; the file's title line is read and not used
    Whole,      // a number column
    Flag,       // True or False in a column; read as a word or a number
    SoundMode,  // a number column; read as a flag stored as 1 or 0 from 2.20 files and from
                // texts of three characters or more (current files may hold a word there)
    ColumnText, // the image kind, the one text in a column
    Text,       // a raw text
    Candidate,  // the window class: a raw text, read as the candidate offered to the user
};

constexpr bool isRaw(Kind kind)
{
    return kind == Kind::Title || kind == Kind::Text || kind == Kind::Candidate;
}

// Lines holding texts are split with the help of their comment.
constexpr bool isText(Kind kind)
{
    return kind == Kind::ColumnText || kind == Kind::Text || kind == Kind::Candidate;
}

// A field bound to its value; T is const for the writer.
template <Kind K, class T> struct Field {
    static constexpr Kind kind = K;
    T& value;
};

// Binds a field of kind K to its value.
template <Kind K> struct FieldOf {
    template <class T> Field<K, T> operator()(T& value) const { return Field<K, T>{value}; }
};
constexpr FieldOf<Kind::Title> title{};
constexpr FieldOf<Kind::Whole> whole{};
constexpr FieldOf<Kind::Flag> flag{};
constexpr FieldOf<Kind::SoundMode> soundMode{};
constexpr FieldOf<Kind::ColumnText> columnText{};
constexpr FieldOf<Kind::Text> rawText{};
constexpr FieldOf<Kind::Candidate> candidate{};

// An extra capture area's line holds its origin; its size is that of another area.
struct SizeFrom {
    std::size_t area;
    std::size_t from;
};

// What a line holds besides its fields.
struct Line {
    explicit Line(std::string text = {}) : comment(std::move(text)) {}

    std::string comment; // what follows the last value, separator included
    bool currentOnly = false;
    std::optional<SizeFrom> size;
};

// A line the 2.20 layout does not have.
Line addedLine(std::string comment, std::optional<SizeFrom> size = std::nullopt)
{
    Line line(std::move(comment));
    line.currentOnly = true;
    line.size = size;
    return line;
}

std::string patternComment(std::size_t k, std::size_t d)
{
    return "  ,     基準パターン画像変換文字列" + std::to_string(k + 1) + (d < 10 ? "0" : "") +
           std::to_string(d);
}

// ---------------------------------------------------------------------------------------------
// The table: one call of `line` per line of the file, in file order, with the fields bound to
// `s` (the record, or a const one for the writer). The 2.20 layout is the lines not marked
// current-only.

template <class S, class Visit> void forEachLine(S& s, Visit&& line)
{
    auto& a = s.CaptureArea;
    line(Line{}, title(kProgramTitle));
    const char* const areaComments[] = {", Lvキャプチャ領域(1)、開始座標とサイズ",
                                        ", Expキャプチャ領域(2)、開始座標とサイズ",
                                        ", Moneyキャプチャ領域(3)、開始座標とサイズ"};
    for (std::size_t i = 0; i < 3; ++i)
        line(Line{areaComments[i]}, whole(a[i].X), whole(a[i].Y), whole(a[i].Width),
             whole(a[i].Height));
    line(addedLine(",          Exp拡張キャプチャ領域(4)、開始座標", SizeFrom{3, 1}), whole(a[3].X),
         whole(a[3].Y));
    line(addedLine(",          Moneyキャプチャ領域(5)、開始座標", SizeFrom{4, 2}), whole(a[4].X),
         whole(a[4].Y));
    line(Line{",                   自動開始フラグ"}, flag(s.AutoStart));
    line(Line{",                   キャプチャインターバル(分)"}, whole(s.CaptureInterval));
    line(Line{",                   キャプチャ時に音を鳴らす"}, soundMode(s.BeepMode));
    line(Line{" , 時給ファイル保存場所"}, rawText(s.SaveFolder), rawText(s.SaveFile));
    line(Line{",                   時給ファイルをCSVで保存する"}, flag(s.SaveCsv));
    line(Line{",                   時給記録ファイルを一ヶ月追記する"}, flag(s.MonthlyAppend));
    line(Line{",                   ラグキャンセル時間(ｍ秒)"}, whole(s.LagCancelTime));
    line(Line{",                   起動時にメイプルストーリ起動確認遅延時間(秒)"},
         whole(s.StartDelay));
    line(Line{" ,                アプリケーション1を自動起動させるかと、そのファイルパス"},
         flag(s.StartUp[0]), rawText(s.StartUpPath[0]));
    line(Line{" ,                アプリケーション2を自動起動させるかと、そのファイルパス"},
         flag(s.StartUp[1]), rawText(s.StartUpPath[1]));
    line(Line{",                   アプリケーション2を自動起動させる遅延時間(秒)"},
         whole(s.StartUpDelay));
    line(Line{",          撮影チェックを実行するかどうかと、撮影チェックインターバル(m秒)"},
         flag(s.DoHLCheckExec), whole(s.DoHLInterval));
    line(Line{",                   画像ファイルの保存拡張子"}, columnText(s.SaveFormat));
    line(Line{",          "
              "マウスボタンジェスチャを監視するかどうかと、ジェスチャ入力待ち時間(m秒)"},
         flag(s.GestureEnabled), whole(s.GestureTime));
    line(Line{", グラフを表示するかどうかと、グラフ時間軸データ数、グラフの平均化データ数"},
         flag(s.GraphEnabled), whole(s.GraphTimeScale), whole(s.GraphAveNum));
    line(addedLine(",                   ウィンドウ位置を記憶する"), flag(s.WindowMemory));
    auto& w = s.WindowPosition;
    line(addedLine(", ウィンドウ位置の開始座標とサイズ"), whole(w.X), whole(w.Y), whole(w.Width),
         whole(w.Height));
    line(addedLine(",                   マルチディスプレイに対応する"), flag(s.DualDisplay));
    line(addedLine(",          ディスプレイのオフセットサイズ"), whole(s.DisplayOffsetX),
         whole(s.DisplayOffsetY));
    for (std::size_t k = 0; k < kCategoryCount; ++k) {
        line(Line{std::string(",          画像２値化境界値とマスク値") + std::to_string(k + 1)},
             whole(s.BinaryThreshold[k]), whole(s.BinaryMask[k]));
        line(Line{",          基準画像サイズ"}, whole(s.PatternSize[k].Width),
             whole(s.PatternSize[k].Height));
        for (std::size_t d = 0; d < kGlyphCount; ++d)
            line(Line{patternComment(k, d)}, rawText(s.PatternString[k][d]));
    }
    line(Line{"     , 検索ウィンドウ名"}, candidate(s.SearchWindowClass));
}

// ---------------------------------------------------------------------------------------------
// Writing

// Texts are written raw; a line break inside one would split the line and make the whole file
// unreadable, so it is written as a blank.
std::string raw(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string column(const ColumnValue& value)
{
    return FormatColumn(value, 8, 1, 0, true);
}

std::string column(const std::string& text)
{
    return column(ColumnValue(text));
}

template <Kind K, class T> std::string written(const Field<K, T>& field)
{
    if constexpr (isRaw(K)) {
        return raw(field.value);
    } else if constexpr (K == Kind::ColumnText) {
        // A text of wide characters too long for the column's blanks is written with one blank
        // each side, as every other too long value is.
        std::string text;
        Trap fits(TrapPolicy::Silent);
        if (!fits([&] { text = column(raw(field.value)); }))
            text = ' ' + raw(field.value) + ' ';
        return text;
    } else {
        return column(field.value);
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

struct ReadState {
    bool current = true;
    std::string candidate;
};

template <Kind K, class T>
void read(const Field<K, T>& field, const Fields& values, int i, ReadState& state)
{
    if constexpr (K == Kind::Whole) {
        field.value = values.whole(i);
    } else if constexpr (K == Kind::Flag) {
        field.value = values.flag(i);
    } else if constexpr (K == Kind::SoundMode) {
        if (!state.current || Utf8Length(values.text(i)) >= 3)
            field.value = values.flag(i) ? 1 : 0;
        else
            field.value = values.whole(i);
    } else if constexpr (K == Kind::Candidate) {
        state.candidate = values.text(i);
    } else if constexpr (K == Kind::ColumnText || K == Kind::Text) {
        field.value = values.text(i);
    }
}

} // namespace

std::string ReadSettingsLines(Settings& s, TextLineReader& reader, ConfigLayout layout, Trap& trap)
{
    ReadState state{layout == ConfigLayout::V230, {}};
    forEachLine(s, [&](const Line& line, auto... fields) {
        if (line.currentOnly && !state.current)
            return;
        trap([&] {
            // The comment tells the values of a line holding texts apart from it.
            const bool texts = (isText(decltype(fields)::kind) || ...);
            const Fields values(
                splitFields(reader.readLine(), sizeof...(fields),
                            texts ? std::string_view(line.comment) : std::string_view()));
            int i = 0;
            (read(fields, values, i++, state), ...);
        });
        if (line.size) {
            CaptureRect& area = s.CaptureArea[line.size->area];
            area.Width = s.CaptureArea[line.size->from].Width;
            area.Height = s.CaptureArea[line.size->from].Height;
        }
    });
    return state.candidate;
}

std::vector<std::string> ConfigFileLines(const Settings& s)
{
    std::vector<std::string> lines;
    lines.reserve(65);
    forEachLine(s, [&](const Line& line, auto... fields) {
        std::string text;
        bool previousRaw = false;
        bool first = true;
        const auto add = [&](const auto& field) {
            constexpr bool rawField = isRaw(std::decay_t<decltype(field)>::kind);
            if (!first) {
                if (previousRaw)
                    text += ' ';
                text += ',';
                if (rawField)
                    text += ' ';
            }
            text += written(field);
            previousRaw = rawField;
            first = false;
        };
        (add(fields), ...);
        lines.push_back(text + line.comment);
    });
    return lines;
}

} // namespace kesmaro
