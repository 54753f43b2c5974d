#include "config/SettingsTable.h"

#include "common/Format.h"
#include "common/TextFile.h"
#include "common/Trap.h"

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>

namespace kesmaro {

namespace {

// ---------------------------------------------------------------------------------------------
// Field conversion

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

// A decimal number as the classic conversions accept it: optional sign, digits, optional
// fraction. Views into the text, so that a megabyte of digits costs one pass.
struct NumberText {
    bool negative = false;
    QStringView whole;
    QStringView fraction;
};

std::optional<NumberText> parseNumber(QStringView text)
{
    NumberText number;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        number.negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype wholeStart = i;
    while (i < n && isDigit(text[i]))
        ++i;
    number.whole = text.mid(wholeStart, i - wholeStart);
    if (i < n && text[i] == QLatin1Char('.')) {
        const qsizetype fractionStart = ++i;
        while (i < n && isDigit(text[i]))
            ++i;
        number.fraction = text.mid(fractionStart, i - fractionStart);
    }
    if (i != n || (number.whole.isEmpty() && number.fraction.isEmpty()))
        return std::nullopt;
    return number;
}

// A whole number field; a fraction rounds half to even. 13 when the text is no number, 6 when
// it does not fit 32 bits.
std::int32_t toWhole(const QString& text)
{
    const std::optional<NumberText> number = parseNumber(text);
    if (!number)
        Raise(ErrTypeMismatch);
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t value = 0;
    for (QChar c : number->whole) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > kLimit)
            Raise(ErrOverflow);
    }
    if (!number->fraction.isEmpty()) {
        const int first = number->fraction[0].unicode() - u'0';
        bool beyondHalf = false;
        for (QChar c : number->fraction.mid(1))
            beyondHalf = beyondHalf || c != QLatin1Char('0');
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
bool toBoolean(const QString& text)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<NumberText> number = parseNumber(text);
    if (!number)
        Raise(ErrTypeMismatch);
    for (QStringView digits : {number->whole, number->fraction})
        for (QChar c : digits)
            if (c != QLatin1Char('0'))
                return true;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Splitting a line into its fields

// The values of a line whose comment is cut off: each value but the last ends at the writer's
// " ," (or at a plain comma in a hand-written line), the last one takes the rest. So a folder
// or application path holding commas comes back whole.
QStringList splitValues(QStringView values, int count)
{
    QStringList fields;
    qsizetype start = 0;
    for (int i = 0; i + 1 < count; ++i) {
        qsizetype end = values.indexOf(QLatin1String(" ,"), start);
        qsizetype next = end + 2;
        if (end < 0) {
            end = values.indexOf(QLatin1Char(','), start);
            next = end + 1;
        }
        if (end < 0)
            return fields;
        fields.append(trimBlanks(values.mid(start, end - start)));
        start = next;
    }
    fields.append(trimBlanks(values.mid(start)));
    return fields;
}

// A hand-edited comment may hold commas too; the writer's " ," separators still tell the
// values apart when there are as many of them as values.
bool splitAtWriterSeparators(const QString& line, int count, QStringList& fields)
{
    qsizetype start = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && start < line.size() && line[start] == QLatin1Char(' '))
            ++start;
        const qsizetype separator = line.indexOf(QLatin1String(" ,"), start);
        if (separator < 0)
            return false;
        fields.append(trimBlanks(QStringView(line).mid(start, separator - start)));
        start = separator + 2;
    }
    return true;
}

// The first `count` fields of a line, blanks around them dropped; the rest is the comment.
// `comment` is what the writer puts after the last value of a line holding texts, empty for
// lines of numbers and flags. A line may hold fewer fields: asking for a missing one fails.
QStringList splitFields(const QString& line, int count, const QString& comment = QString())
{
    QStringList fields;
    if (!comment.isEmpty()) {
        if (line.endsWith(comment))
            return splitValues(QStringView(line).chopped(comment.size()), count);
        if (line.count(QLatin1Char(',')) > count && splitAtWriterSeparators(line, count, fields))
            return fields;
        fields.clear();
    }
    qsizetype start = 0;
    while (fields.size() < count) {
        const qsizetype comma = line.indexOf(QLatin1Char(','), start);
        fields.append(trimBlanks(QStringView(line).mid(start, comma < 0 ? -1 : comma - start)));
        if (comma < 0)
            break;
        start = comma + 1;
    }
    return fields;
}

class Fields {
public:
    explicit Fields(QStringList fields) : m_fields(std::move(fields)) {}

    const QString& text(int i) const
    {
        if (i >= m_fields.size())
            Raise(ErrPastEndOfFile);
        return m_fields[i];
    }
    std::int32_t whole(int i) const { return toWhole(text(i)); }
    bool flag(int i) const { return toBoolean(text(i)); }

private:
    QStringList m_fields;
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
    explicit Line(QString text = QString()) : comment(std::move(text)) {}

    QString comment; // what follows the last value, separator included
    bool currentOnly = false;
    std::optional<SizeFrom> size;
};

// A line the 2.20 layout does not have.
Line addedLine(QString comment, std::optional<SizeFrom> size = std::nullopt)
{
    Line line(std::move(comment));
    line.currentOnly = true;
    line.size = size;
    return line;
}

QString patternComment(std::size_t k, std::size_t d)
{
    return QStringLiteral("  ,     基準パターン画像変換文字列") + QString::number(k + 1) +
           QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------
// The table: one call of `line` per line of the file, in file order, with the fields bound to
// `s` (the record, or a const one for the writer). The 2.20 layout is the lines not marked
// current-only.

template <class S, class Visit> void forEachLine(S& s, Visit&& line)
{
    auto& a = s.CaptureArea;
    line(Line{}, title(kProgramTitle));
    const QString areaComments[] = {QStringLiteral(", Lvキャプチャ領域(1)、開始座標とサイズ"),
                                    QStringLiteral(", Expキャプチャ領域(2)、開始座標とサイズ"),
                                    QStringLiteral(", Moneyキャプチャ領域(3)、開始座標とサイズ")};
    for (std::size_t i = 0; i < 3; ++i)
        line(Line{areaComments[i]}, whole(a[i].X), whole(a[i].Y), whole(a[i].Width),
             whole(a[i].Height));
    line(addedLine(QStringLiteral(",          Exp拡張キャプチャ領域(4)、開始座標"), SizeFrom{3, 1}),
         whole(a[3].X), whole(a[3].Y));
    line(addedLine(QStringLiteral(",          Moneyキャプチャ領域(5)、開始座標"), SizeFrom{4, 2}),
         whole(a[4].X), whole(a[4].Y));
    line(Line{QStringLiteral(",                   自動開始フラグ")}, flag(s.AutoStart));
    line(Line{QStringLiteral(",                   キャプチャインターバル(分)")},
         whole(s.CaptureInterval));
    line(Line{QStringLiteral(",                   キャプチャ時に音を鳴らす")},
         soundMode(s.BeepMode));
    line(Line{QStringLiteral(" , 時給ファイル保存場所")}, rawText(s.SaveFolder),
         rawText(s.SaveFile));
    line(Line{QStringLiteral(",                   時給ファイルをCSVで保存する")}, flag(s.SaveCsv));
    line(Line{QStringLiteral(",                   時給記録ファイルを一ヶ月追記する")},
         flag(s.MonthlyAppend));
    line(Line{QStringLiteral(",                   ラグキャンセル時間(ｍ秒)")},
         whole(s.LagCancelTime));
    line(Line{QStringLiteral(",                   起動時にメイプルストーリ起動確認遅延時間(秒)")},
         whole(s.StartDelay));
    line(Line{QStringLiteral(
             " ,                アプリケーション1を自動起動させるかと、そのファイルパス")},
         flag(s.StartUp[0]), rawText(s.StartUpPath[0]));
    line(Line{QStringLiteral(
             " ,                アプリケーション2を自動起動させるかと、そのファイルパス")},
         flag(s.StartUp[1]), rawText(s.StartUpPath[1]));
    line(Line{QStringLiteral(",                   アプリケーション2を自動起動させる遅延時間(秒)")},
         whole(s.StartUpDelay));
    line(Line{QStringLiteral(
             ",          撮影チェックを実行するかどうかと、撮影チェックインターバル(m秒)")},
         flag(s.DoHLCheckExec), whole(s.DoHLInterval));
    line(Line{QStringLiteral(",                   画像ファイルの保存拡張子")},
         columnText(s.SaveFormat));
    line(Line{QStringLiteral(
             ",          "
             "マウスボタンジェスチャを監視するかどうかと、ジェスチャ入力待ち時間(m秒)")},
         flag(s.GestureEnabled), whole(s.GestureTime));
    line(Line{QStringLiteral(
             ", グラフを表示するかどうかと、グラフ時間軸データ数、グラフの平均化データ数")},
         flag(s.GraphEnabled), whole(s.GraphTimeScale), whole(s.GraphAveNum));
    line(addedLine(QStringLiteral(",                   ウィンドウ位置を記憶する")),
         flag(s.WindowMemory));
    auto& w = s.WindowPosition;
    line(addedLine(QStringLiteral(", ウィンドウ位置の開始座標とサイズ")), whole(w.X), whole(w.Y),
         whole(w.Width), whole(w.Height));
    line(addedLine(QStringLiteral(",                   マルチディスプレイに対応する")),
         flag(s.DualDisplay));
    line(addedLine(QStringLiteral(",          ディスプレイのオフセットサイズ")),
         whole(s.DisplayOffsetX), whole(s.DisplayOffsetY));
    for (std::size_t k = 0; k < kCategoryCount; ++k) {
        line(Line{QStringLiteral(",          画像２値化境界値とマスク値") + QString::number(k + 1)},
             whole(s.BinaryThreshold[k]), whole(s.BinaryMask[k]));
        line(Line{QStringLiteral(",          基準画像サイズ")}, whole(s.PatternSize[k].Width),
             whole(s.PatternSize[k].Height));
        for (std::size_t d = 0; d < kGlyphCount; ++d)
            line(Line{patternComment(k, d)}, rawText(s.PatternString[k][d]));
    }
    line(Line{QStringLiteral("     , 検索ウィンドウ名")}, candidate(s.SearchWindowClass));
}

// ---------------------------------------------------------------------------------------------
// Writing

// Texts are written raw; a line break inside one would split the line and make the whole file
// unreadable, so it is written as a blank.
QString raw(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

QString column(const ColumnValue& value)
{
    return QString::fromStdString(FormatColumn(value, 8, 1, 0, true));
}

QString column(const QString& text)
{
    return column(ColumnValue(text.toStdString()));
}

template <Kind K, class T> QString written(const Field<K, T>& field)
{
    if constexpr (isRaw(K)) {
        return raw(field.value);
    } else if constexpr (K == Kind::ColumnText) {
        // A text of wide characters too long for the column's blanks is written with one blank
        // each side, as every other too long value is.
        QString text;
        Trap fits(TrapPolicy::Silent);
        if (!fits([&] { text = column(raw(field.value)); }))
            text = QLatin1Char(' ') + raw(field.value) + QLatin1Char(' ');
        return text;
    } else {
        return column(field.value);
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

struct ReadState {
    bool current = true;
    QString candidate;
};

template <Kind K, class T>
void read(const Field<K, T>& field, const Fields& values, int i, ReadState& state)
{
    if constexpr (K == Kind::Whole) {
        field.value = values.whole(i);
    } else if constexpr (K == Kind::Flag) {
        field.value = values.flag(i);
    } else if constexpr (K == Kind::SoundMode) {
        if (!state.current || values.text(i).size() >= 3)
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

QString ReadSettingsLines(Settings& s, TextLineReader& reader, ConfigLayout layout, Trap& trap)
{
    ReadState state{layout == ConfigLayout::V230, QString()};
    forEachLine(s, [&](const Line& line, auto... fields) {
        if (line.currentOnly && !state.current)
            return;
        trap([&] {
            // The comment tells the values of a line holding texts apart from it.
            const bool texts = (isText(decltype(fields)::kind) || ...);
            const Fields values(splitFields(QString::fromStdString(reader.readLine()),
                                            sizeof...(fields), texts ? line.comment : QString()));
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

QStringList ConfigFileLines(const Settings& s)
{
    QStringList lines;
    lines.reserve(65);
    forEachLine(s, [&](const Line& line, auto... fields) {
        QString text;
        bool previousRaw = false;
        bool first = true;
        const auto add = [&](const auto& field) {
            constexpr bool rawField = isRaw(std::decay_t<decltype(field)>::kind);
            if (!first) {
                if (previousRaw)
                    text += QLatin1Char(' ');
                text += QLatin1Char(',');
                if (rawField)
                    text += QLatin1Char(' ');
            }
            text += written(field);
            previousRaw = rawField;
            first = false;
        };
        (add(fields), ...);
        lines << text + line.comment;
    });
    return lines;
}

} // namespace kesmaro
