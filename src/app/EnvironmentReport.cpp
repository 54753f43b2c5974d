#include "app/EnvironmentReport.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "common/StringBuffer.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "state/Program.h"

#include <string_view>
#include <vector>

namespace kesmaro {

namespace {

const std::string kCrLf = "\r\n";
// Indents and the gap between the two items of a log line are ideographic spaces.
const std::string kIndent = "　　";
const std::string kSubIndent = "　　　　";
const std::string kGap = "　　　";

// Only blanks are cut, as the facts' own padding; other white space is part of the value.
std::string Trimmed(std::string_view value)
{
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(value.substr(first, value.find_last_not_of(' ') + 1 - first));
}

// "yyyymmddHHMMSS..." as "yyyymmdd-HHMMSS"; whatever follows the seconds is dropped. The
// positions count characters, so a malformed reading is cut as the report always cut it.
std::string ReportDateTime(std::string_view value)
{
    return std::string(Utf8Left(value, 8)) + '-' + std::string(Utf8Mid(value, 8, 6));
}

std::string Amount(const std::string& value, std::string_view unit)
{
    return FormatThousands(ColumnValue(value), unit);
}

std::string FreeAndTotal(const std::string& free, const std::string& total)
{
    return Amount(free, "/ ") + Amount(total, "Byte");
}

// Caches of no size are left out; a cache without a purpose goes by its device id.
struct ListedCache {
    std::string name;
    std::string size;
};

std::vector<ListedCache> ListedCaches(const SystemFacts& facts)
{
    std::vector<ListedCache> caches;
    for (const SystemFacts::Cache& cache : facts.caches) {
        if (Val(cache.maxCacheSizeKb) <= 0)
            continue;
        std::string name = Trimmed(cache.purpose);
        if (name.empty() || EqualsIgnoringAsciiCase(name, "NONE"))
            name = Trimmed(cache.deviceId);
        caches.push_back({name, Amount(cache.maxCacheSizeKb, "kByte")});
    }
    return caches;
}

} // namespace

std::string EnvReportText(const SystemFacts& f)
{
    clsStringBuffer report;
    clsStringBuffer memory;
    report.setText("実行環境情報" + kCrLf);

    report.AppendLF(kIndent + "オペレーティングシステム : " + f.osCaption);
    report.AppendLF(kSubIndent + "バージョン : " + f.osVersion);
    report.AppendLF(kSubIndent + "サービスパック : " + f.servicePackMajor + "." +
                    f.servicePackMinor);
    report.AppendLF(kIndent + "経過時間 : " + ReportDateTime(f.localDateTime));
    report.AppendLF(kIndent + "起動時間 : " + ReportDateTime(f.lastBootUpTime));
    report.AppendLF(kIndent + f.buildType);
    report.AppendLF(kSubIndent + "使用プロセッサ : " + f.numberOfUsers);
    memory.AppendLF(kIndent + "物理メモリ 空き/最大 : " +
                    FreeAndTotal(f.freePhysicalMemoryKb, f.totalVisibleMemoryKb));
    memory.AppendLF(kIndent + "仮想メモリ 空き/最大 : " +
                    FreeAndTotal(f.freeVirtualMemoryKb, f.totalVirtualMemoryKb));

    for (const SystemFacts::Processor& cpu : f.processors) {
        report.AppendLF(kIndent + "プロセッサ : " + Trimmed(cpu.name));
        report.AppendLF(kSubIndent + "リビジョン : " + cpu.revision);
        report.AppendLF(kSubIndent + Trimmed(cpu.description));
    }
    for (const ListedCache& cache : ListedCaches(f))
        report.AppendLF(kIndent + "キャッシュメモリ : " + cache.name + " = " + cache.size);
    report.Append(memory.Text());

    if (!f.videoControllers.empty()) {
        const SystemFacts::VideoController& video = f.videoControllers.front();
        report.AppendLF(kIndent + "グラフィックアダプタ : " + Trimmed(video.name));
        report.AppendLF(kSubIndent + "グラフィックメモリ : " + Amount(video.adapterRam, "Byte"));
        report.AppendLF(kSubIndent + "ドライババージョン : " + Trimmed(video.driverVersion));
        report.AppendLF(kSubIndent + "画面設定 : " + Trimmed(video.modeDescription));
    }

    report.AppendLF(kIndent + "製造メーカー : " + Trimmed(f.manufacturer));
    report.AppendLF(kSubIndent + "モデル名 : " + Trimmed(f.model));
    return report.Text();
}

std::string EnvLogText(const SystemFacts& f)
{
    clsStringBuffer report;
    clsStringBuffer memory;
    report.setText("Operating Environment Information" + kCrLf);

    report.Append2LF(kIndent + "OperatingSystem : " + f.osCaption,
                     kGap + "Version : " + f.osVersion + kGap +
                         "ServicePack : " + f.servicePackMajor + "." + f.servicePackMinor);
    report.Append2LF(kIndent + "NowLocalTime : " + ReportDateTime(f.localDateTime),
                     kGap + "LastBootTime : " + ReportDateTime(f.lastBootUpTime));
    report.Append2LF(kIndent + f.buildType, kGap + "ProcessorUse : " + f.numberOfUsers);
    memory.Append2LF(kIndent + "FreePhysicalMemory : " +
                         FreeAndTotal(f.freePhysicalMemoryKb, f.totalVisibleMemoryKb),
                     kGap + "FreeVirtualMemory : " +
                         FreeAndTotal(f.freeVirtualMemoryKb, f.totalVirtualMemoryKb));

    for (const SystemFacts::Processor& cpu : f.processors)
        report.Append2LF(kIndent + "Processor : " + Trimmed(cpu.name),
                         kGap + "Revision : " + cpu.revision + kGap + Trimmed(cpu.description));
    for (const ListedCache& cache : ListedCaches(f))
        report.AppendLF(kIndent + "CacheMemory : " + cache.name + " = " + cache.size);
    report.Append(memory.Text());

    if (!f.videoControllers.empty()) {
        const SystemFacts::VideoController& video = f.videoControllers.front();
        report.Append2LF(kIndent + "GraphicAdapter : " + Trimmed(video.name),
                         kGap + "AdapterRAM : " + Amount(video.adapterRam, "Byte"));
        report.Append2LF(kSubIndent + "DriverVersion : " + Trimmed(video.driverVersion),
                         kGap + "GraphicMode : " + Trimmed(video.modeDescription));
    }

    report.Append2LF(kIndent + "Manufacturer : " + Trimmed(f.manufacturer),
                     kGap + "Model : " + Trimmed(f.model));
    return report.Text();
}

void LogOperatingInformation(Program& p)
{
    Trap run(p.log, "LogOperatingInformation");
    run([&] {
        const SystemFacts facts = p.services.systemInfo.Facts();
        const double available = Val(facts.availablePhysicalBytes);
        const double load = Val(facts.memoryLoadPercent);
        clsStringBuffer text;
        text.setText("OperatingInformation" + kCrLf);
        text.Append(EnvLogText(facts));
        text.AppendLF(kIndent + "Available Physical Memory" +
                      FormatColumn(IntDivide(available, 1024.0), 11, 1, 0, false) + "kByte  " +
                      FormatColumn(100.0 - load, 5, 1, 0, false) + "%");
        p.log.WriteDebugLog(text.Text());
    });
}

void menuOperatingInfo_Click(Program& p)
{
    p.txtLog.AppendToTextBox("\r\n");
    p.txtLog.AppendToTextBox(EnvReportText(p.services.systemInfo.Facts()));
    p.txtLog.AppendToTextBox("\r\n");
}

} // namespace kesmaro
