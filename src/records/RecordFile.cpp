#include "records/RecordFile.h"

#include "common/Cp932.h"
#include "common/Format.h"
#include "common/Paths.h"
#include "common/StringBuffer.h"
#include "common/TrappedError.h"
#include "config/CommonQt.h"
#include "state/Program.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>

namespace kesmaro {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

[[noreturn]] void raiseFromErrno(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        Raise(ErrDiskFull);
    if (error == EACCES || error == EPERM || error == EROFS)
        Raise(ErrPermissionDenied);
    if (error == ENOENT || error == ENOTDIR)
        Raise(ErrPathNotFound);
    Raise(ErrPathFileAccess);
}

// Appends all lines or none: a write that fails part way is cut back off, so that a line
// written again later never follows a torn copy of itself.
void appendLines(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray::fromStdString(EncodeCp932(line.toStdString())) + "\r\n";
    QFile file(path);
    // A device in the file's place (a full-disk stand-in, a pipe) cannot seek to an end.
    const QFileInfo info(path);
    const QIODevice::OpenMode mode = info.exists() && !info.isFile()
                                         ? QIODevice::WriteOnly | QIODevice::ExistingOnly
                                         : QIODevice::WriteOnly | QIODevice::Append;
    errno = 0;
    if (!file.open(mode | QIODevice::Unbuffered))
        raiseFromErrno(errno);
    const qint64 before = file.size();
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        if (!file.isSequential())
            file.resize(before);
        raiseFromErrno(error);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        raiseFromErrno(errno);
}

void ensureFolder(const RecordTarget& target)
{
    std::string folder = target.folder.toStdString();
    CreateFolderPath(folder);
}

// Writes the kept lines in order, a run of lines for the same file at a time; false at the
// first file that refuses, with the lines from there on still kept.
bool flushBacklog(RecordFileState& state, TrappedError& failure)
{
    while (!state.backlog.empty()) {
        const RecordTarget target = state.backlog.front().target;
        QStringList lines;
        std::size_t count = 0;
        for (const auto& pending : state.backlog) {
            if (pending.target.path != target.path)
                break;
            lines << pending.line;
            ++count;
        }
        try {
            ensureFolder(target);
            if (!FileExists(target.path))
                lines.prepend(target.header);
            appendLines(target.path, lines);
        } catch (const TrappedError& e) {
            failure = e;
            return false;
        }
        state.backlog.erase(state.backlog.begin(),
                            state.backlog.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return true;
}

QString errorText(const TrappedError& e)
{
    return QStringLiteral("CODE") + QString::number(e.number) + QStringLiteral("  ") +
           QString::fromStdString(e.description);
}

void reportFailure(Program& p, const RecordTarget& target, const TrappedError& e)
{
    if (p.recordFile.failing)
        return;
    p.recordFile.failing = true;
    p.log.WriteDebugLog((QStringLiteral("Record File Write Failed : ") + errorText(e) +
                         QStringLiteral(" : ") + target.path)
                            .toStdString());
    p.txtLog.AppendToTextBox(QStringLiteral("記録ファイルに書き込めません（") + errorText(e) +
                             QStringLiteral("）。書き込めるまで記録を保持します： ") + target.path +
                             kCrLf);
}

void reportRecovery(Program& p, std::int64_t written)
{
    RecordFileState& state = p.recordFile;
    if (!state.failing)
        return;
    p.log.WriteDebugLog("Record File Write Recovered : " + std::to_string(written) +
                        " Lines Written, " + std::to_string(state.dropped) + " Lines Dropped ");
    QString text = QStringLiteral("記録ファイルへの書き込みが回復しました。保持していた記録 ") +
                   QString::number(written) + QStringLiteral(" 行を書き込みました。");
    if (state.dropped > 0)
        text += QStringLiteral("上限を超えた古い記録 ") + QString::number(state.dropped) +
                QStringLiteral(" 行は失われました。");
    p.txtLog.AppendToTextBox(text + kCrLf);
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
            p.txtLog.AppendToTextBox(
                QStringLiteral("保持できる記録が ") + QString::number(kRecordBacklogLimit) +
                QStringLiteral(" 行を超えたため、古い記録から捨てています。") + kCrLf);
        }
    }
}

} // namespace

QString RecordStampText(const QDateTime& time)
{
    return time.toString(QStringLiteral("MM/dd hh:mm"));
}

QString BuildRecordLine(const RecordValues& v, bool csv)
{
    const std::string separator = csv ? " ," : "  ";
    auto column = [csv](const ColumnValue& value, int width, int decimals) {
        return FormatColumn(value, width, 1, decimals, csv);
    };
    clsStringBuffer line;
    line.Append2(v.stamp.toStdString(), separator);
    line.Append2(column(v.level, 6, 0), separator);
    line.Append2(column(v.exp, 11, 2), separator);
    line.Append2(column(v.money, 16, 0), separator);
    line.Append2(column(v.expGain, 11, 2), separator);
    line.Append2(column(v.moneyGain, 17, 0), separator);
    line.Append2(column(v.expMinutes, 9, 1), separator);
    line.Append2(column(v.expRate, 13, 2), separator);
    line.Append2(column(v.moneyMinutes, 9, 1), separator);
    line.Append(column(v.moneyRate, 14, 2));
    return QString::fromStdString(line.Text());
}

QString SaveBaseFolder(const Settings& settings, const QString& programFolder)
{
    return settings.SaveFolder.isEmpty() ? programFolder : settings.SaveFolder;
}

RecordTarget RecordFileTarget(const Settings& settings, const QString& logStartStamp,
                              const QString& programFolder)
{
    RecordTarget target;
    target.folder = JoinPath(SaveBaseFolder(settings, programFolder), QStringLiteral("log"));
    const QString period =
        settings.MonthlyAppend ? logStartStamp.left(6) + QStringLiteral("月") : logStartStamp;
    const QString extension = settings.SaveCsv ? QStringLiteral(".csv") : QStringLiteral(".txt");
    target.path = JoinPath(target.folder, settings.SaveFile + period + extension);
    target.header = settings.SaveCsv ? kRecordHeaderCsv : kRecordHeaderText;
    return target;
}

void WriteRecordFile(Program& p, const QString& line, RecordWrite what)
{
    if (p.LogStartStamp.isEmpty())
        return;
    const RecordTarget target = RecordFileTarget(p.settings, p.LogStartStamp, p.programFolder);
    RecordFileState& state = p.recordFile;
    const bool wasFailing = state.failing;
    const auto keptBefore = static_cast<std::int64_t>(state.backlog.size());

    if (what == RecordWrite::Line)
        state.backlog.push_back(RecordFileState::Pending{target, line});
    TrappedError failure(0);
    if (!flushBacklog(state, failure)) {
        reportFailure(p, state.backlog.front().target, failure);
        trimBacklog(p);
        return;
    }
    if (what == RecordWrite::Header) {
        try {
            ensureFolder(target);
            if (!FileExists(target.path))
                appendLines(target.path, QStringList{target.header});
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
