#pragma once

#include "common/Currency.h"
#include "common/DateTime.h"
#include "state/RecordFileState.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

struct Program;
struct Settings;

// The first line of a new record file, by layout.
inline constexpr std::string_view kRecordHeaderText =
    " 月日 時刻      Lv         Exp             ｺｲﾝ         獲得Exp           "
    "獲得ｺｲﾝ     経過(分)   Exp時給(%)     ｺｲﾝ時給(k) ";
inline constexpr std::string_view kRecordHeaderCsv =
    " 月日 時刻  ,   Lv  ,      Exp   ,         ｺｲﾝ     ,   獲得Exp  ,        "
    "獲得ｺｲﾝ   , 経過(分) , Exp時給(%) ,   ｺｲﾝ時給(k) ";

// The values of one record line, as the measurement update computed them.
struct RecordValues {
    std::string stamp; // "MM/dd hh:mm" of the measurement
    std::int32_t level = 0;
    Currency exp; // percent of the level
    Currency money;
    Currency expGain; // percent, 100 per level gained
    Currency moneyGain;
    Currency expMinutes;   // one decimal
    Currency expRate;      // percent per hour
    Currency moneyMinutes; // one decimal
    Currency moneyRate;    // thousands per hour
};

// "MM/dd hh:mm": the first field of a record line and of the text log's lines.
std::string RecordStampText(const DateTime& time);

// The ten fields in the record layout: two blanks between fields and grouped numbers, or for
// the comma-separated file " ," between fields and numbers without separators.
std::string BuildRecordLine(const RecordValues& values, bool csv);

// The folder that holds log/ and ss/: SaveFolder, or the program folder when it is empty (a
// cleared folder box), so that records and screenshots never part ways.
std::string SaveBaseFolder(const Settings& settings, std::string_view programFolder);

// The record file of the run started at `logStartStamp` ("yyyyMMddhhmm") under SaveBaseFolder.
RecordTarget RecordFileTarget(const Settings& settings, std::string_view logStartStamp,
                              std::string_view programFolder);

enum class RecordWrite { Header, Line };

// Writes the header (`line` ignored) or one record line into the record file of the running run;
// nothing when no run is in progress. The header goes only into a file that does not exist yet. A
// record line that finds the file missing is written below a new header. A line that cannot be
// written is kept and written, in order, before the next line that can be; the failure and the
// recovery are reported once each.
void WriteRecordFile(Program& p, std::string_view line, RecordWrite what);

} // namespace kesmaro
