#include "config/ConfigFile.h"

#include "common/DebugLog.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "common/TextFile.h"
#include "common/Trap.h"
#include "config/Defaults.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <cstdint>
#include <optional>

namespace kesmaro {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCurrentVersion = QStringLiteral("Ver.2.30");

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

// The comments that follow the last value of the lines holding texts.
const QString kFolderComment = QStringLiteral(" , 時給ファイル保存場所");
const QString kAppComment[] = {
    QStringLiteral(" ,                アプリケーション1を自動起動させるかと、そのファイルパス"),
    QStringLiteral(" ,                アプリケーション2を自動起動させるかと、そのファイルパス")};
const QString kFormatComment = QStringLiteral(",                   画像ファイルの保存拡張子");
const QString kClassComment = QStringLiteral("     , 検索ウィンドウ名");

QString patternComment(std::size_t k, std::size_t d)
{
    return QStringLiteral("  ,     基準パターン画像変換文字列") + QString::number(k + 1) +
           QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
}

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
// Reading

PromptAnswer ask(Prompter& prompter, const QString& title, const QString& text,
                 PromptButtons buttons)
{
    return prompter.Ask(Prompt{title.toStdString(), text.toStdString(), buttons, PromptIcon::None});
}

ConfigReadResult readSettings(ConfigContext& ctx, std::optional<TextLineReader>& reader,
                              ConfigLayout layout, Trap& trap)
{
    Settings& s = ctx.settings;
    const bool current = layout == ConfigLayout::V230;
    if (!reader)
        return ConfigReadResult::Failed;

    // Each line is one statement: a line that fails keeps what it stored so far and reading
    // goes on with the next line.
    auto texts = [&](int count, const QString& comment, auto&& store) {
        trap([&] { store(Fields(splitFields(reader->readLine(), count, comment))); });
    };
    auto numbers = [&](int count, auto&& store) { texts(count, QString(), store); };

    trap([&] { reader->readLine(); });
    for (std::size_t i = 0; i < 3; ++i)
        numbers(4, [&](const Fields& f) {
            CaptureRect& area = s.CaptureArea[i];
            area.X = f.whole(0);
            area.Y = f.whole(1);
            area.Width = f.whole(2);
            area.Height = f.whole(3);
        });
    if (current) {
        for (std::size_t i : {3, 4}) {
            numbers(2, [&](const Fields& f) {
                s.CaptureArea[i].X = f.whole(0);
                s.CaptureArea[i].Y = f.whole(1);
            });
            const CaptureRect& sizeFrom = s.CaptureArea[i - 2];
            s.CaptureArea[i].Width = sizeFrom.Width;
            s.CaptureArea[i].Height = sizeFrom.Height;
        }
    }
    numbers(1, [&](const Fields& f) { s.AutoStart = f.flag(0); });
    numbers(1, [&](const Fields& f) { s.CaptureInterval = f.whole(0); });
    numbers(1, [&](const Fields& f) {
        // Files of 2.20 stored a flag here; current files may still hold one.
        const QString& beep = f.text(0);
        if (!current || beep.size() >= 3)
            s.BeepMode = f.flag(0) ? 1 : 0;
        else
            s.BeepMode = f.whole(0);
    });
    texts(2, kFolderComment, [&](const Fields& f) {
        s.SaveFolder = f.text(0);
        s.SaveFile = f.text(1);
    });
    numbers(1, [&](const Fields& f) { s.SaveCsv = f.flag(0); });
    numbers(1, [&](const Fields& f) { s.MonthlyAppend = f.flag(0); });
    numbers(1, [&](const Fields& f) { s.LagCancelTime = f.whole(0); });
    numbers(1, [&](const Fields& f) { s.StartDelay = f.whole(0); });
    for (std::size_t i = 0; i < 2; ++i)
        texts(2, kAppComment[i], [&](const Fields& f) {
            s.StartUp[i] = f.flag(0);
            s.StartUpPath[i] = f.text(1);
        });
    numbers(1, [&](const Fields& f) { s.StartUpDelay = f.whole(0); });
    numbers(2, [&](const Fields& f) {
        s.DoHLCheckExec = f.flag(0);
        s.DoHLInterval = f.whole(1);
    });
    texts(1, kFormatComment, [&](const Fields& f) { s.SaveFormat = f.text(0); });
    numbers(2, [&](const Fields& f) {
        s.GestureEnabled = f.flag(0);
        s.GestureTime = f.whole(1);
    });
    numbers(3, [&](const Fields& f) {
        s.GraphEnabled = f.flag(0);
        s.GraphTimeScale = f.whole(1);
        s.GraphAveNum = f.whole(2);
    });
    if (current) {
        numbers(1, [&](const Fields& f) { s.WindowMemory = f.flag(0); });
        numbers(4, [&](const Fields& f) {
            s.WindowPosition.X = f.whole(0);
            s.WindowPosition.Y = f.whole(1);
            s.WindowPosition.Width = f.whole(2);
            s.WindowPosition.Height = f.whole(3);
        });
        numbers(1, [&](const Fields& f) { s.DualDisplay = f.flag(0); });
        numbers(2, [&](const Fields& f) {
            s.DisplayOffsetX = f.whole(0);
            s.DisplayOffsetY = f.whole(1);
        });
    }
    for (std::size_t k = 0; k < kCategoryCount; ++k) {
        numbers(2, [&](const Fields& f) {
            s.BinaryThreshold[k] = f.whole(0);
            s.BinaryMask[k] = f.whole(1);
        });
        numbers(2, [&](const Fields& f) {
            s.PatternSize[k].Width = f.whole(0);
            s.PatternSize[k].Height = f.whole(1);
        });
        for (std::size_t d = 0; d < kGlyphCount; ++d)
            texts(1, patternComment(k, d),
                  [&](const Fields& f) { s.PatternString[k][d] = f.text(0); });
    }
    QString candidate;
    texts(1, kClassComment, [&](const Fields& f) { candidate = f.text(0); });

    if (trap.failed())
        return ConfigReadResult::Failed;

    ConfigReadResult result = ConfigReadResult::Done;
    if (candidate.size() >= 5 && candidate != s.SearchWindowClass) {
        const PromptAnswer answer =
            ask(ctx.prompter, QStringLiteral("ターゲット変更選択"),
                QStringLiteral("ターゲットは ") + candidate +
                    QStringLiteral(" でよろしいいですか？") + kCrLf +
                    QStringLiteral("「いいえ」のときは[") + s.SearchWindowClass + QLatin1Char(']'),
                PromptButtons::YesNo);
        if (answer == PromptAnswer::Yes) {
            s.SearchWindowClass = candidate;
            ctx.log.WriteDebugLog(QStringLiteral("Target Change : ") + candidate);
        }
        result = ConfigReadResult::Asked;
    }
    ctx.log.WriteDebugLog(QStringLiteral("Target Change : ") + s.SearchWindowClass);
    return result;
}

QString readerName(ConfigLayout layout)
{
    return layout == ConfigLayout::V230 ? QStringLiteral("ConfigFileReadV230")
                                        : QStringLiteral("ConfigFileReadV220");
}

ConfigReadResult readFile(ConfigContext& ctx, const QString& path, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(path); });
    return readSettings(ctx, reader, layout, trap);
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

QString field(const ColumnValue& value)
{
    return FormatColumn(value, 8, 1, 0, true);
}

// The image kind is the one text in a column; a text of wide characters too long for the
// column's blanks is written with one blank each side, as every other too long value is.
QString field(const QString& text)
{
    QString column;
    Trap fits(TrapPolicy::Silent);
    if (!fits([&] { column = FormatColumn(raw(text), 8, 1, 0, true); }))
        column = QLatin1Char(' ') + raw(text) + QLatin1Char(' ');
    return column;
}

QString fields(std::initializer_list<ColumnValue> values)
{
    QString text;
    for (const ColumnValue& value : values) {
        if (!text.isEmpty())
            text += QLatin1Char(',');
        text += field(value);
    }
    return text;
}

QString areaFields(const CaptureRect& r)
{
    return fields({r.X, r.Y, r.Width, r.Height});
}

QString folderText(const QString& programFolder)
{
    QString folder = QDir::toNativeSeparators(programFolder);
    while (folder.size() > 1 && folder.endsWith(QDir::separator()))
        folder.chop(1);
    return folder;
}

void copyReplacing(const QString& from, const QString& to)
{
    const QByteArray bytes = ReadFileBytes(from);
    QSaveFile file(to);
    // Unbuffered, so that a short write is seen instead of committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Raise(ErrPathFileAccess);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const bool full = errno == ENOSPC;
        file.cancelWriting();
        Raise(full ? ErrDiskFull : ErrPathFileAccess);
    }
    if (!file.commit())
        Raise(ErrPathFileAccess);
}

} // namespace

QString ConfigFilePath(const QString& programFolder)
{
    return JoinPath(programFolder, QStringLiteral("KM2DConfig") + QStringLiteral(".ini"));
}

QString ConfigBackupPath(const QString& programFolder)
{
    return JoinPath(programFolder, QStringLiteral("KM2DConfig") + QStringLiteral("Back.ini"));
}

QString ConfigFileVersion(const QString& firstLine)
{
    const qsizetype at = firstLine.indexOf(QLatin1String("Ver."));
    return at < 0 ? QString() : firstLine.mid(at, 8);
}

ConfigReadResult ConfigFileReadV230(ConfigContext& ctx, const QString& path)
{
    return readFile(ctx, path, ConfigLayout::V230);
}

ConfigReadResult ConfigFileReadV220(ConfigContext& ctx, const QString& path)
{
    return readFile(ctx, path, ConfigLayout::V220);
}

ConfigReadResult ReadConfigBytes(ConfigContext& ctx, const QByteArray& bytes, ConfigLayout layout)
{
    Trap trap(ctx.log, readerName(layout));
    std::optional<TextLineReader> reader;
    trap([&] { reader.emplace(TextLineReader::FromBytes(bytes)); });
    return readSettings(ctx, reader, layout, trap);
}

QStringList ConfigFileLines(const Settings& s)
{
    const auto& a = s.CaptureArea;
    QStringList lines;
    lines.reserve(65);
    lines << kProgramTitle;
    lines << areaFields(a[0]) + QStringLiteral(", Lvキャプチャ領域(1)、開始座標とサイズ");
    lines << areaFields(a[1]) + QStringLiteral(", Expキャプチャ領域(2)、開始座標とサイズ");
    lines << areaFields(a[2]) + QStringLiteral(", Moneyキャプチャ領域(3)、開始座標とサイズ");
    lines << fields({a[3].X, a[3].Y}) +
                 QStringLiteral(",          Exp拡張キャプチャ領域(4)、開始座標");
    lines << fields({a[4].X, a[4].Y}) +
                 QStringLiteral(",          Moneyキャプチャ領域(5)、開始座標");
    lines << field(s.AutoStart) + QStringLiteral(",                   自動開始フラグ");
    lines << field(s.CaptureInterval) +
                 QStringLiteral(",                   キャプチャインターバル(分)");
    lines << field(s.BeepMode) + QStringLiteral(",                   キャプチャ時に音を鳴らす");
    lines << raw(s.SaveFolder) + QStringLiteral(" , ") + raw(s.SaveFile) + kFolderComment;
    lines << field(s.SaveCsv) + QStringLiteral(",                   時給ファイルをCSVで保存する");
    lines << field(s.MonthlyAppend) +
                 QStringLiteral(",                   時給記録ファイルを一ヶ月追記する");
    lines << field(s.LagCancelTime) +
                 QStringLiteral(",                   ラグキャンセル時間(ｍ秒)");
    lines << field(s.StartDelay) +
                 QStringLiteral(",                   起動時にメイプルストーリ起動確認遅延時間(秒)");
    lines << field(s.StartUp[0]) + QStringLiteral(", ") + raw(s.StartUpPath[0]) + kAppComment[0];
    lines << field(s.StartUp[1]) + QStringLiteral(", ") + raw(s.StartUpPath[1]) + kAppComment[1];
    lines << field(s.StartUpDelay) +
                 QStringLiteral(
                     ",                   アプリケーション2を自動起動させる遅延時間(秒)");
    lines << fields({s.DoHLCheckExec, s.DoHLInterval}) +
                 QStringLiteral(
                     ",          撮影チェックを実行するかどうかと、撮影チェックインターバル(m秒)");
    lines << field(s.SaveFormat) + kFormatComment;
    lines << fields({s.GestureEnabled, s.GestureTime}) +
                 QStringLiteral(
                     ",          "
                     "マウスボタンジェスチャを監視するかどうかと、ジェスチャ入力待ち時間(m秒)");
    lines << fields({s.GraphEnabled, s.GraphTimeScale, s.GraphAveNum}) +
                 QStringLiteral(
                     ", グラフを表示するかどうかと、グラフ時間軸データ数、グラフの平均化データ数");
    lines << field(s.WindowMemory) + QStringLiteral(",                   ウィンドウ位置を記憶する");
    lines << areaFields(s.WindowPosition) + QStringLiteral(", ウィンドウ位置の開始座標とサイズ");
    lines << field(s.DualDisplay) +
                 QStringLiteral(",                   マルチディスプレイに対応する");
    lines << fields({s.DisplayOffsetX, s.DisplayOffsetY}) +
                 QStringLiteral(",          ディスプレイのオフセットサイズ");
    for (std::size_t k = 0; k < kCategoryCount; ++k) {
        const QString n = QString::number(k + 1);
        lines << fields({s.BinaryThreshold[k], s.BinaryMask[k]}) +
                     QStringLiteral(",          画像２値化境界値とマスク値") + n;
        lines << fields({s.PatternSize[k].Width, s.PatternSize[k].Height}) +
                     QStringLiteral(",          基準画像サイズ");
        for (std::size_t d = 0; d < kGlyphCount; ++d)
            lines << raw(s.PatternString[k][d]) + patternComment(k, d);
    }
    lines << raw(s.SearchWindowClass) + kClassComment;
    return lines;
}

ConfigMode ConfigFile(ConfigContext& ctx, ConfigMode mode)
{
    Settings& s = ctx.settings;
    const QString file = ConfigFilePath(ctx.programFolder);
    const QString backup = ConfigBackupPath(ctx.programFolder);
    const QString readTitle = QStringLiteral("設定ファイル読込み");
    // The user's previous file is replaced only once it is safe in the backup file.
    bool keepFile = false;

    if (mode == ConfigMode::Read) {
        if (!FileExists(file)) {
            mode = ConfigMode::Reset;
        } else {
            Trap trap(ctx.log, QStringLiteral("ConfigFile"));
            // A file whose title cannot be read is left to the reader, which reports it.
            QString version;
            Trap quiet(TrapPolicy::Silent);
            quiet([&] { version = ConfigFileVersion(TextLineReader(file).readLine()); });
            auto saveBackup = [&] { keepFile = !trap([&] { copyReplacing(file, backup); }); };

            ConfigReadResult r;
            if (version == kCurrentVersion) {
                r = ConfigFileReadV230(ctx, file);
                if (r == ConfigReadResult::Asked)
                    mode = ConfigMode::Write;
            } else {
                r = ConfigFileReadV220(ctx, file);
                if (r != ConfigReadResult::Failed) {
                    ask(ctx.prompter, readTitle,
                        QStringLiteral("古い設定ファイルを読み込みました。") + kCrLf +
                            QStringLiteral("　　新しい項目を追加した設定ファイルを再作成します。") +
                            kCrLf +
                            QStringLiteral(
                                "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。") +
                            kCrLf,
                        PromptButtons::Ok);
                    saveBackup();
                    mode = ConfigMode::Colour;
                }
            }
            if (r == ConfigReadResult::Failed) {
                ask(ctx.prompter, readTitle,
                    QStringLiteral("読込みできない設定ファイルです。") + kCrLf +
                        QStringLiteral("　　初期値で設定ファイルを再作成します。") + kCrLf +
                        QStringLiteral(
                            "　　以前のファイルは「KM2DConfigBack.ini」で保存されます。") +
                        kCrLf,
                    PromptButtons::Ok);
                saveBackup();
                mode = ConfigMode::Reset;
            } else if (!FileExists(s.SaveFolder)) {
                s.SaveFolder = folderText(ctx.programFolder);
                ask(ctx.prompter, readTitle,
                    QStringLiteral("時給記録フォルダが不正のため") + kCrLf +
                        QStringLiteral("デフォルトフォルダに変更しました。"),
                    PromptButtons::Ok);
                if (mode != ConfigMode::Colour)
                    mode = ConfigMode::Write;
            }
        }
    }
    if (mode == ConfigMode::Reset) {
        ApplyDefaults(s, ctx.programFolder);
        mode = ConfigMode::ScreenMode;
    }
    if (mode == ConfigMode::ScreenMode) {
        AskScreenMode(s, ctx.prompter);
        mode = ConfigMode::Colour;
    }
    if (mode == ConfigMode::Colour) {
        SelectGlyphColour(s, ctx.prompter, ctx.log);
        mode = ConfigMode::Write;
    }
    if (mode == ConfigMode::Write) {
        Trap trap(ctx.log, QStringLiteral("ConfigFile 2"));
        const bool saved =
            !keepFile && trap([&] { WriteTextLinesAtomic(file, ConfigFileLines(s) << QString()); });
        if (!saved)
            ask(ctx.prompter, QStringLiteral("設定ファイル書き込み"),
                QStringLiteral("設定をファイルに保存できませんでした。"), PromptButtons::Ok);
    }
    return mode;
}

} // namespace kesmaro
