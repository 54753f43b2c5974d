#include "app/EnvironmentReport.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "common/StringBuffer.h"
#include "config/CommonQt.h"
#include "state/Program.h"

namespace kesmaro {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
// Indents and the gap between the two items of a log line are ideographic spaces.
const QString kIndent = QStringLiteral("　　");
const QString kSubIndent = QStringLiteral("　　　　");
const QString kGap = QStringLiteral("　　　");

QString Text(const std::string& value)
{
    return QString::fromStdString(value);
}

// Only blanks are cut, as the facts' own padding; other white space is part of the value.
QString Trimmed(const std::string& value)
{
    QString text = Text(value);
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// The report is built from Qt text until this file is ported; the buffer holds it as UTF-8.
class Buffer {
public:
    void setText(const QString& text) { m_buffer.setText(text.toStdString()); }
    void Append(const QString& text) { m_buffer.Append(text.toStdString()); }
    void AppendLF(const QString& text) { m_buffer.AppendLF(text.toStdString()); }
    void Append2LF(const QString& text, const QString& text2)
    {
        m_buffer.Append2LF(text.toStdString(), text2.toStdString());
    }
    QString Text() const { return QString::fromStdString(m_buffer.Text()); }

private:
    clsStringBuffer m_buffer;
};

// "yyyymmddHHMMSS..." as "yyyymmdd-HHMMSS"; whatever follows the seconds is dropped.
QString ReportDateTime(const std::string& value)
{
    const QString text = Text(value);
    return text.mid(0, 8) + QLatin1Char('-') + text.mid(8, 6);
}

QString Amount(const std::string& value, const QString& unit)
{
    return QString::fromStdString(FormatThousands(ColumnValue(value), unit.toStdString()));
}

QString FreeAndTotal(const std::string& free, const std::string& total)
{
    return Amount(free, QStringLiteral("/ ")) + Amount(total, QStringLiteral("Byte"));
}

// Caches of no size are left out; a cache without a purpose goes by its device id.
struct ListedCache {
    QString name;
    QString size;
};

std::vector<ListedCache> ListedCaches(const SystemFacts& facts)
{
    std::vector<ListedCache> caches;
    for (const SystemFacts::Cache& cache : facts.caches) {
        if (Val(Text(cache.maxCacheSizeKb)) <= 0)
            continue;
        QString name = Trimmed(cache.purpose);
        if (name.isEmpty() || name.compare(QLatin1String("NONE"), Qt::CaseInsensitive) == 0)
            name = Trimmed(cache.deviceId);
        caches.push_back({name, Amount(cache.maxCacheSizeKb, QStringLiteral("kByte"))});
    }
    return caches;
}

} // namespace

QString EnvReportText(const SystemFacts& f)
{
    Buffer report;
    Buffer memory;
    report.setText(QStringLiteral("実行環境情報") + kCrLf);

    report.AppendLF(kIndent + QStringLiteral("オペレーティングシステム : ") + Text(f.osCaption));
    report.AppendLF(kSubIndent + QStringLiteral("バージョン : ") + Text(f.osVersion));
    report.AppendLF(kSubIndent + QStringLiteral("サービスパック : ") + Text(f.servicePackMajor) +
                    QLatin1Char('.') + Text(f.servicePackMinor));
    report.AppendLF(kIndent + QStringLiteral("経過時間 : ") + ReportDateTime(f.localDateTime));
    report.AppendLF(kIndent + QStringLiteral("起動時間 : ") + ReportDateTime(f.lastBootUpTime));
    report.AppendLF(kIndent + Text(f.buildType));
    report.AppendLF(kSubIndent + QStringLiteral("使用プロセッサ : ") + Text(f.numberOfUsers));
    memory.AppendLF(kIndent + QStringLiteral("物理メモリ 空き/最大 : ") +
                    FreeAndTotal(f.freePhysicalMemoryKb, f.totalVisibleMemoryKb));
    memory.AppendLF(kIndent + QStringLiteral("仮想メモリ 空き/最大 : ") +
                    FreeAndTotal(f.freeVirtualMemoryKb, f.totalVirtualMemoryKb));

    for (const SystemFacts::Processor& cpu : f.processors) {
        report.AppendLF(kIndent + QStringLiteral("プロセッサ : ") + Trimmed(cpu.name));
        report.AppendLF(kSubIndent + QStringLiteral("リビジョン : ") + Text(cpu.revision));
        report.AppendLF(kSubIndent + Trimmed(cpu.description));
    }
    for (const ListedCache& cache : ListedCaches(f))
        report.AppendLF(kIndent + QStringLiteral("キャッシュメモリ : ") + cache.name +
                        QStringLiteral(" = ") + cache.size);
    report.Append(memory.Text());

    if (!f.videoControllers.empty()) {
        const SystemFacts::VideoController& video = f.videoControllers.front();
        report.AppendLF(kIndent + QStringLiteral("グラフィックアダプタ : ") + Trimmed(video.name));
        report.AppendLF(kSubIndent + QStringLiteral("グラフィックメモリ : ") +
                        Amount(video.adapterRam, QStringLiteral("Byte")));
        report.AppendLF(kSubIndent + QStringLiteral("ドライババージョン : ") +
                        Trimmed(video.driverVersion));
        report.AppendLF(kSubIndent + QStringLiteral("画面設定 : ") +
                        Trimmed(video.modeDescription));
    }

    report.AppendLF(kIndent + QStringLiteral("製造メーカー : ") + Trimmed(f.manufacturer));
    report.AppendLF(kSubIndent + QStringLiteral("モデル名 : ") + Trimmed(f.model));
    return report.Text();
}

QString EnvLogText(const SystemFacts& f)
{
    Buffer report;
    Buffer memory;
    report.setText(QStringLiteral("Operating Environment Information") + kCrLf);

    report.Append2LF(kIndent + QStringLiteral("OperatingSystem : ") + Text(f.osCaption),
                     kGap + QStringLiteral("Version : ") + Text(f.osVersion) + kGap +
                         QStringLiteral("ServicePack : ") + Text(f.servicePackMajor) +
                         QLatin1Char('.') + Text(f.servicePackMinor));
    report.Append2LF(kIndent + QStringLiteral("NowLocalTime : ") + ReportDateTime(f.localDateTime),
                     kGap + QStringLiteral("LastBootTime : ") + ReportDateTime(f.lastBootUpTime));
    report.Append2LF(kIndent + Text(f.buildType),
                     kGap + QStringLiteral("ProcessorUse : ") + Text(f.numberOfUsers));
    memory.Append2LF(kIndent + QStringLiteral("FreePhysicalMemory : ") +
                         FreeAndTotal(f.freePhysicalMemoryKb, f.totalVisibleMemoryKb),
                     kGap + QStringLiteral("FreeVirtualMemory : ") +
                         FreeAndTotal(f.freeVirtualMemoryKb, f.totalVirtualMemoryKb));

    for (const SystemFacts::Processor& cpu : f.processors)
        report.Append2LF(kIndent + QStringLiteral("Processor : ") + Trimmed(cpu.name),
                         kGap + QStringLiteral("Revision : ") + Text(cpu.revision) + kGap +
                             Trimmed(cpu.description));
    for (const ListedCache& cache : ListedCaches(f))
        report.AppendLF(kIndent + QStringLiteral("CacheMemory : ") + cache.name +
                        QStringLiteral(" = ") + cache.size);
    report.Append(memory.Text());

    if (!f.videoControllers.empty()) {
        const SystemFacts::VideoController& video = f.videoControllers.front();
        report.Append2LF(kIndent + QStringLiteral("GraphicAdapter : ") + Trimmed(video.name),
                         kGap + QStringLiteral("AdapterRAM : ") +
                             Amount(video.adapterRam, QStringLiteral("Byte")));
        report.Append2LF(kSubIndent + QStringLiteral("DriverVersion : ") +
                             Trimmed(video.driverVersion),
                         kGap + QStringLiteral("GraphicMode : ") + Trimmed(video.modeDescription));
    }

    report.Append2LF(kIndent + QStringLiteral("Manufacturer : ") + Trimmed(f.manufacturer),
                     kGap + QStringLiteral("Model : ") + Trimmed(f.model));
    return report.Text();
}

void LogOperatingInformation(Program& p)
{
    Trap run(p.log, "LogOperatingInformation");
    run([&] {
        const SystemFacts facts = p.services.systemInfo.Facts();
        const double available = Val(Text(facts.availablePhysicalBytes));
        const double load = Val(Text(facts.memoryLoadPercent));
        Buffer text;
        text.setText(QStringLiteral("OperatingInformation") + kCrLf);
        text.Append(EnvLogText(facts));
        text.AppendLF(
            kIndent + QStringLiteral("Available Physical Memory") +
            QString::fromStdString(FormatColumn(IntDivide(available, 1024.0), 11, 1, 0, false)) +
            QStringLiteral("kByte  ") +
            QString::fromStdString(FormatColumn(100.0 - load, 5, 1, 0, false)) + QLatin1Char('%'));
        p.log.WriteDebugLog(text.Text().toStdString());
    });
}

void menuOperatingInfo_Click(Program& p)
{
    p.txtLog.AppendToTextBox("\r\n");
    p.txtLog.AppendToTextBox(EnvReportText(p.services.systemInfo.Facts()).toStdString());
    p.txtLog.AppendToTextBox("\r\n");
}

} // namespace kesmaro
