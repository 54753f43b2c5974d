#include "app/EnvironmentReport.h"

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/Paths.h"
#include "common/TextFile.h"

#include <algorithm>
#include <functional>
#include <gmock/gmock.h>
#include <string>
#include <string_view>
#include <vector>

using namespace kesmaro;

namespace {

// A machine with two processors, three caches (one of no size, one without a purpose) and two
// graphics adapters; blanks around the texts the report trims.
SystemFacts Machine()
{
    SystemFacts f;
    f.osCaption = "Debian GNU/Linux 12 (bookworm)";
    f.osVersion = "12";
    f.servicePackMajor = "0";
    f.servicePackMinor = "1";
    f.localDateTime = "20100315142530.000000+540";
    f.lastBootUpTime = "20100315080102";
    f.buildType = "#1 SMP PREEMPT_DYNAMIC";
    f.numberOfUsers = "2";
    f.freePhysicalMemoryKb = "8388608";
    f.totalVisibleMemoryKb = "16318584";
    f.freeVirtualMemoryKb = "10388608";
    f.totalVirtualMemoryKb = "18415732";
    f.processors = {{" Intel(R) Core(TM) i7 ", "40458", "x86_64 Family 6 "},
                    {"AMD Ryzen 5", "2", "x86_64 Family 23"}};
    f.caches = {{"256", "L2 Cache", "Cache Memory 1"},
                {"0", "L1 Cache", "Cache Memory 0"},
                {"12288", "None", " Cache Memory 2 "}};
    f.videoControllers = {
        {" NVIDIA GP107 ", "4294967296", "535.1", "1920 x 1080 x 16777216 colors"},
        {"Intel UHD 630", "1", "i915", ""}};
    f.manufacturer = "ASUSTeK ";
    f.model = " PRIME Z390";
    f.availablePhysicalBytes = "8589934592";
    f.memoryLoadPercent = "48";
    return f;
}

const std::string kMachineReport =
    "実行環境情報\r\n"
    "　　オペレーティングシステム : Debian GNU/Linux 12 (bookworm)\r\n"
    "　　　　バージョン : 12\r\n"
    "　　　　サービスパック : 0.1\r\n"
    "　　経過時間 : 20100315-142530\r\n"
    "　　起動時間 : 20100315-080102\r\n"
    "　　#1 SMP PREEMPT_DYNAMIC\r\n"
    "　　　　使用プロセッサ : 2\r\n"
    "　　プロセッサ : Intel(R) Core(TM) i7\r\n"
    "　　　　リビジョン : 40458\r\n"
    "　　　　x86_64 Family 6\r\n"
    "　　プロセッサ : AMD Ryzen 5\r\n"
    "　　　　リビジョン : 2\r\n"
    "　　　　x86_64 Family 23\r\n"
    "　　キャッシュメモリ : L2 Cache = 256 kByte\r\n"
    "　　キャッシュメモリ : Cache Memory 2 = 12,288 kByte\r\n"
    "　　物理メモリ 空き/最大 : 8,388,608 / 16,318,584 Byte\r\n"
    "　　仮想メモリ 空き/最大 : 10,388,608 / 18,415,732 Byte\r\n"
    "　　グラフィックアダプタ : NVIDIA GP107\r\n"
    "　　　　グラフィックメモリ : 4,294,967,296 Byte\r\n"
    "　　　　ドライババージョン : 535.1\r\n"
    "　　　　画面設定 : 1920 x 1080 x 16777216 colors\r\n"
    "　　製造メーカー : ASUSTeK\r\n"
    "　　　　モデル名 : PRIME Z390\r\n";

const std::string kMachineLog =
    "Operating Environment Information\r\n"
    "　　OperatingSystem : Debian GNU/Linux 12 (bookworm)　　　Version : 12　　　ServicePack : "
    "0.1\r\n"
    "　　NowLocalTime : 20100315-142530　　　LastBootTime : 20100315-080102\r\n"
    "　　#1 SMP PREEMPT_DYNAMIC　　　ProcessorUse : 2\r\n"
    "　　Processor : Intel(R) Core(TM) i7　　　Revision : 40458　　　x86_64 Family 6\r\n"
    "　　Processor : AMD Ryzen 5　　　Revision : 2　　　x86_64 Family 23\r\n"
    "　　CacheMemory : L2 Cache = 256 kByte\r\n"
    "　　CacheMemory : Cache Memory 2 = 12,288 kByte\r\n"
    "　　FreePhysicalMemory : 8,388,608 / 16,318,584 Byte　　　FreeVirtualMemory : 10,388,608 / "
    "18,415,732 Byte\r\n"
    "　　GraphicAdapter : NVIDIA GP107　　　AdapterRAM : 4,294,967,296 Byte\r\n"
    "　　　　DriverVersion : 535.1　　　GraphicMode : 1920 x 1080 x 16777216 colors\r\n"
    "　　Manufacturer : ASUSTeK　　　Model : PRIME Z390\r\n";

class EnvironmentReportTest : public test::ProgramFixture {
protected:
    EnvironmentReportTest()
        : test::ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
    std::string debugLogText() const { return DecodeCp932(ReadFileBytes(log.path())); }
};

} // namespace

// Two processors give two groups, only the first adapter is listed, a cache of no size is left
// out and one whose purpose is "None" goes by its device id.
TEST(EnvironmentReportTextTest, BothLayoutsOfAWholeMachine)
{
    EXPECT_EQ(EnvReportText(Machine()), kMachineReport);
    EXPECT_EQ(EnvLogText(Machine()), kMachineLog);
}

TEST(EnvironmentReportTextTest, MissingAndOddFacts)
{
    struct Row {
        const char* what;
        std::function<void(SystemFacts&)> change;
        std::string reportLine; // a whole line of the Japanese report; empty: none expected
        std::string logLine;    // the same for the English one
        std::string absent;     // a text neither layout may hold
    };
    const Row rows[] = {
        {"nothing known", [](SystemFacts& f) { f = SystemFacts{}; },
         "　　物理メモリ 空き/最大 :  /  Byte", "　　NowLocalTime : -　　　LastBootTime : -",
         "Processor :"},
        {"no adapter",
         [](SystemFacts& f) { f.videoControllers.clear(); },
         "　　製造メーカー : ASUSTeK",
         {},
         "GP107"},
        {"empty purpose and purpose in capitals",
         [](SystemFacts& f) {
             f.caches = {{"32", "", "Cache Memory 0"}, {"64", "NONE", "Cache Memory 3"}};
         },
         "　　キャッシュメモリ : Cache Memory 0 = 32 kByte",
         "　　CacheMemory : Cache Memory 3 = 64 kByte", "NONE"},
        {"sizes that read as no number",
         [](SystemFacts& f) {
             f.caches = {{"none", "L3", "x"}, {"-1", "L4", "y"}};
         },
         {},
         {},
         "CacheMemory"},
        {"a short date-time",
         [](SystemFacts& f) { f.lastBootUpTime = "201003"; },
         "　　起動時間 : 201003-",
         {},
         "+540"},
        // The date is cut by characters: wide digits are three bytes each.
        {"a date-time in wide digits",
         [](SystemFacts& f) { f.lastBootUpTime = "２０１００３１５０８０１０２９"; },
         "　　起動時間 : ２０１００３１５-０８０１０２",
         "　　NowLocalTime : 20100315-142530　　　LastBootTime : ２０１００３１５-０８０１０２",
         "９"},
        // Only blanks are trimmed: a tab or an ideographic space is part of the value.
        {"white space other than blanks",
         [](SystemFacts& f) { f.manufacturer = "\t ASUSTeK　 "; },
         "　　製造メーカー : \t ASUSTeK　",
         {},
         "ASUSTeK　 "},
    };
    const auto lines = [](std::string_view text) {
        std::vector<std::string> out;
        for (std::size_t at = 0; at <= text.size();) {
            const std::size_t end = std::min(text.find("\r\n", at), text.size());
            out.emplace_back(text.substr(at, end - at));
            at = end + 2;
        }
        return out;
    };
    const auto holds = [&](const std::string& text, const std::string& line) {
        const std::vector<std::string> all = lines(text);
        return std::find(all.begin(), all.end(), line) != all.end();
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SystemFacts facts = Machine();
        row.change(facts);
        const std::string report = EnvReportText(facts);
        const std::string log = EnvLogText(facts);
        if (!row.reportLine.empty()) {
            EXPECT_TRUE(holds(report, row.reportLine)) << report;
        }
        if (!row.logLine.empty()) {
            EXPECT_TRUE(holds(log, row.logLine)) << log;
        }
        EXPECT_TRUE(report.find(row.absent) == std::string::npos &&
                    log.find(row.absent) == std::string::npos);
        EXPECT_TRUE(report.ends_with("\r\n") && log.ends_with("\r\n"));
    }
}

TEST_F(EnvironmentReportTest, ClosingEntryIsOneDebugEntryAndTheMenuWritesOnlyTheRunningLog)
{
    sim.systemInfo.facts = Machine();
    p.txtLog.setText("before\r\n");
    menuOperatingInfo_Click(p);
    EXPECT_EQ(p.txtLog.text(), "before\r\n\r\n" + kMachineReport + "\r\n");
    EXPECT_FALSE(FileExists(log.path()));

    // The entry ends with its own line break, and the log adds one to every entry.
    LogOperatingInformation(p);
    EXPECT_EQ(debugLogText(), "2009/05/17 21:30:00 OperatingInformation\r\n" + kMachineLog +
                                  "　　Available Physical Memory 8,388,608 kByte    52 %\r\n\r\n");

    // Nothing known: no memory free, no load.
    sim.systemInfo.facts = SystemFacts{};
    LogOperatingInformation(p);
    EXPECT_THAT(
        debugLogText(),
        ::testing::EndsWith("　　Available Physical Memory         0 kByte   100 %\r\n\r\n"));
}
