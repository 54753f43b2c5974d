#include "records/RecordFile.h"

#include "common/Cp932.h"
#include "common/Files.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "common/StringBuffer.h"
#include "common/TrappedError.h"
#include "common/Utf8.h"
#include "state/Program.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace kesmaro {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Appends all lines or none: a write that fails part way is cut back off, so that a line
// written again later never follows a torn copy of itself.
void appendLines(std::string_view path, const std::vector<std::string>& lines)
{
    // The last line end comes with the append.
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += kCrLf;
        text += lines[i];
    }
    const std::filesystem::path file = PathFromUtf8(path);
    std::error_code ec;
    // A device in the file's place (a full-disk stand-in, a pipe) has no size to cut back to.
    const bool regular = std::filesystem::is_regular_file(file, ec);
    const std::uintmax_t before = regular ? std::filesystem::file_size(file, ec) : 0;
    const bool sized = regular && !ec;
    const int error = AppendLineAndClose(file, EncodeCp932(text));
    if (error == 0)
        return;
    if (sized)
        std::filesystem::resize_file(file, before, ec);
    Raise(error);
}

void ensureFolder(const RecordTarget& target)
{
    std::string folder = target.folder;
    CreateFolderPath(folder);
}

// Writes the kept lines in order, a run of lines for the same file at a time; false at the
// first file that refuses, with the lines from there on still kept.
bool flushBacklog(RecordFileState& state, TrappedError& failure)
{
    while (!state.backlog.empty()) {
        const RecordTarget target = state.backlog.front().target;
        const std::string path = target.path;
        std::vector<std::string> lines;
        std::size_t count = 0;
        for (const auto& pending : state.backlog) {
            if (pending.target.path != target.path)
                break;
            lines.push_back(pending.line);
            ++count;
        }
        try {
            ensureFolder(target);
            if (!FileExists(path))
                lines.insert(lines.begin(), target.header);
            appendLines(path, lines);
        } catch (const TrappedError& e) {
            failure = e;
            return false;
        }
        state.backlog.erase(state.backlog.begin(),
                            state.backlog.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return true;
}

std::string errorText(const TrappedError& e)
{
    return "CODE" + std::to_string(e.number) + "  " + e.description;
}

void appendToLog(Program& p, const std::string& text)
{
    p.txtLog.AppendToTextBox(text);
}

void reportFailure(Program& p, const RecordTarget& target, const TrappedError& e)
{
    if (p.recordFile.failing)
        return;
    p.recordFile.failing = true;
    const std::string path = target.path;
    p.log.WriteDebugLog("Record File Write Failed : " + errorText(e) + " : " + path);
    appendToLog(p, "記録ファイルに書き込めません（" + errorText(e) +
                       "）。書き込めるまで記録を保持します： " + path + std::string(kCrLf));
}

void reportRecovery(Program& p, std::int64_t written)
{
    RecordFileState& state = p.recordFile;
    if (!state.failing)
        return;
    p.log.WriteDebugLog("Record File Write Recovered : " + std::to_string(written) +
                        " Lines Written, " + std::to_string(state.dropped) + " Lines Dropped ");
    std::string text = "記録ファイルへの書き込みが回復しました。保持していた記録 " +
                       std::to_string(written) + " 行を書き込みました。";
    if (state.dropped > 0)
        text += "上限を超えた古い記録 " + std::to_string(state.dropped) + " 行は失われました。";
    appendToLog(p, text + std::string(kCrLf));
    state.failing = false;
    state.overflowed = false;
    state.dropped = 0;
}

// Bounds the kept lines once the file has refused them; the oldest go first.
void trimBacklog(Program& p)
{
    RecordFileState& state = p.recordFile;
    while (state.backlog.size() > static_cast<std::size_t>(kRecordBacklogLimit)) {
        state.backlog.pop_front();
        ++state.dropped;
        if (!state.overflowed) {
            state.overflowed = true;
            p.log.WriteDebugLog("Record File Backlog Full : Oldest Lines Dropped ");
            appendToLog(p, "保持できる記録が " + std::to_string(kRecordBacklogLimit) +
                               " 行を超えたため、古い記録から捨てています。" + std::string(kCrLf));
        }
    }
}

} // namespace

std::string RecordStampText(const DateTime& time)
{
    return time.format("MM/dd hh:mm");
}

std::string BuildRecordLine(const RecordValues& v, bool csv)
{
    const std::string separator = csv ? " ," : "  ";
    auto column = [csv](const ColumnValue& value, int width, int decimals) {
        return FormatColumn(value, width, 1, decimals, csv);
    };
    clsStringBuffer line;
    line.Append2(v.stamp, separator);
    line.Append2(column(v.level, 6, 0), separator);
    line.Append2(column(v.exp, 11, 2), separator);
    line.Append2(column(v.money, 16, 0), separator);
    line.Append2(column(v.expGain, 11, 2), separator);
    line.Append2(column(v.moneyGain, 17, 0), separator);
    line.Append2(column(v.expMinutes, 9, 1), separator);
    line.Append2(column(v.expRate, 13, 2), separator);
    line.Append2(column(v.moneyMinutes, 9, 1), separator);
    line.Append(column(v.moneyRate, 14, 2));
    return line.Text();
}

std::string SaveBaseFolder(const Settings& settings, std::string_view programFolder)
{
    return settings.SaveFolder.empty() ? std::string(programFolder) : settings.SaveFolder;
}

RecordTarget RecordFileTarget(const Settings& settings, std::string_view logStartStamp,
                              std::string_view programFolder)
{
    const std::string folder = JoinPath(SaveBaseFolder(settings, programFolder), "log");
    // A monthly file is named by the stamp's first six characters, "yyyyMM".
    const std::string period = settings.MonthlyAppend
                                   ? std::string(Utf8Left(logStartStamp, 6)) + "月"
                                   : std::string(logStartStamp);
    const std::string extension = settings.SaveCsv ? ".csv" : ".txt";
    const std::string path = JoinPath(folder, settings.SaveFile + period + extension);
    const std::string_view header = settings.SaveCsv ? kRecordHeaderCsv : kRecordHeaderText;
    RecordTarget target;
    target.folder = folder;
    target.path = path;
    target.header = std::string(header);
    return target;
}

void WriteRecordFile(Program& p, std::string_view line, RecordWrite what)
{
    if (p.LogStartStamp.empty())
        return;
    const RecordTarget target = RecordFileTarget(p.settings, p.LogStartStamp, p.programFolder);
    RecordFileState& state = p.recordFile;
    const bool wasFailing = state.failing;
    const auto keptBefore = static_cast<std::int64_t>(state.backlog.size());

    if (what == RecordWrite::Line)
        state.backlog.push_back(RecordFileState::Pending{target, std::string(line)});
    TrappedError failure(0);
    if (!flushBacklog(state, failure)) {
        reportFailure(p, state.backlog.front().target, failure);
        trimBacklog(p);
        return;
    }
    if (what == RecordWrite::Header) {
        try {
            ensureFolder(target);
            const std::string path = target.path;
            if (!FileExists(path))
                appendLines(path, {target.header});
        } catch (const TrappedError& e) {
            // No line is lost: the first record line that finds the file missing writes the
            // header above itself.
            reportFailure(p, target, e);
            return;
        }
    }
    if (wasFailing)
        reportRecovery(p, keptBefore);
}

} // namespace kesmaro
