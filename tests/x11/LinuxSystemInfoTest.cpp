#include "platform/x11/LinuxSystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

// A made-up machine: files as the kernel and the distribution write them.
class LinuxSystemInfoTest : public ::testing::Test {
protected:
    void write(const QString& path, const QByteArray& text)
    {
        const QString full = dir.path() + path;
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    void cache(int cpu, int index, int level, const char* type, const char* size,
               const char* shared)
    {
        const QString base =
            QStringLiteral("/sys/devices/system/cpu/cpu%1/cache/index%2/").arg(cpu).arg(index);
        write(base + "level", QByteArray::number(level) + "\n");
        write(base + "type", QByteArray(type) + "\n");
        write(base + "size", QByteArray(size) + "\n");
        write(base + "shared_cpu_list", QByteArray(shared) + "\n");
    }

    SystemFacts facts()
    {
        LinuxSystemInfo info({dir.path().toStdString(), {}, /*queryX11=*/false});
        return info.Facts();
    }

    QTemporaryDir dir;
};

// Three logical processors in two packages.
const char kCpuInfo[] = "processor\t: 0\ncpu family\t: 6\nmodel\t\t: 158\nmodel name\t: Intel(R) "
                        "Core(TM) i7-8700 CPU @ 3.20GHz\nstepping\t: 10\nphysical id\t: 0\n\n"
                        "processor\t: 1\nmodel name\t: other\nphysical id\t: 0\n\n"
                        "processor\t: 2\nmodel name\t: other\nphysical id\t: 1\n";

} // namespace

TEST_F(LinuxSystemInfoTest, ReadsEveryFactFromItsFile)
{
    write("/etc/os-release", "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                             "(bookworm)\"\nVERSION_ID=\"12\"\n");
    write("/proc/sys/kernel/version", "#1 SMP PREEMPT_DYNAMIC Debian 6.1.0-18\n");
    write("/proc/stat", "cpu  1 2 3\nbtime 1700000000\nprocesses 5\n");
    write("/proc/meminfo", "MemTotal:       16318584 kB\nMemFree:         1000000 kB\n"
                           "MemAvailable:    8388608 kB\nSwapTotal:       2097148 kB\n"
                           "SwapFree:        2000000 kB\n");
    write("/proc/cpuinfo", kCpuInfo);
    cache(0, 0, 1, "Data", "32K", "0-1");
    cache(0, 1, 1, "Instruction", "32K", "0-1");
    cache(0, 2, 2, "Unified", "256K", "0-1");
    cache(0, 3, 3, "Unified", "12M", "0-2");
    cache(1, 0, 1, "Data", "32K", "0-1"); // the same cache seen from its second processor
    cache(2, 0, 1, "Data", "32K", "2");
    cache(2, 3, 3, "Unified", "12M", "0-2");
    write("/sys/class/drm/card0/device/vendor", "0x10de\n");
    write("/sys/class/drm/card0/device/device", "0x1c82\n");
    write("/sys/class/drm/card0/device/mem_info_vram_total", "4294967296\n");
    write("/sys/class/drm/card0-HDMI-A-1/status", "connected\n");
    write("/usr/share/misc/pci.ids", "# comment\n10de  NVIDIA Corporation\n\t1c81  GP107 "
                                     "[GeForce GTX 1050]\n\t1c82  GP107 [GeForce GTX 1050 Ti]\n"
                                     "\t\t1043 85d3  subsystem\n10df  Emulex\n");
    write("/sys/class/dmi/id/sys_vendor", "ASUSTeK COMPUTER INC. \n");
    write("/sys/class/dmi/id/product_name", "System Product Name\n");

    const SystemFacts f = facts();
    EXPECT_EQ(f.osCaption, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(f.osVersion, "12");
    EXPECT_EQ(f.buildType, "#1 SMP PREEMPT_DYNAMIC Debian 6.1.0-18");
    EXPECT_EQ(f.lastBootUpTime.size(), 14u);
    EXPECT_EQ(f.localDateTime.size(), 14u);
    EXPECT_EQ(f.totalVisibleMemoryKb, "16318584");
    EXPECT_EQ(f.freePhysicalMemoryKb, "8388608");
    EXPECT_EQ(f.totalVirtualMemoryKb, "18415732");
    EXPECT_EQ(f.freeVirtualMemoryKb, "10388608");
    EXPECT_EQ(f.availablePhysicalBytes, "8589934592");
    EXPECT_EQ(f.memoryLoadPercent, "48");

    // One entry per physical package, not per logical processor.
    ASSERT_EQ(f.processors.size(), 2u);
    EXPECT_EQ(f.processors[0].name, "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz");
    EXPECT_EQ(f.processors[0].revision, std::to_string(158 * 256 + 10));
    EXPECT_NE(f.processors[0].description.find("Family 6 Model 158 Stepping 10"),
              std::string::npos);

    // Per level, each distinct cache counted once.
    ASSERT_EQ(f.caches.size(), 3u);
    EXPECT_EQ(f.caches[0].maxCacheSizeKb, "96"); // 32 data + 32 instruction + 32 data of cpu2
    EXPECT_EQ(f.caches[0].purpose, "L1 Cache");
    EXPECT_EQ(f.caches[1].maxCacheSizeKb, "256");
    EXPECT_EQ(f.caches[2].maxCacheSizeKb, "12288");
    EXPECT_EQ(f.caches[2].deviceId, "Cache Memory 2");

    ASSERT_EQ(f.videoControllers.size(), 1u);
    EXPECT_EQ(f.videoControllers[0].name, "NVIDIA Corporation GP107 [GeForce GTX 1050 Ti]");
    EXPECT_EQ(f.videoControllers[0].adapterRam, "4294967296");
    EXPECT_EQ(f.manufacturer, "ASUSTeK COMPUTER INC.");
    EXPECT_EQ(f.model, "System Product Name");
}

TEST_F(LinuxSystemInfoTest, AMachineThatTellsNothingGivesEmptyFactsButTheClock)
{
    const SystemFacts f = facts();
    EXPECT_EQ(f.osCaption + f.lastBootUpTime + f.totalVisibleMemoryKb + f.memoryLoadPercent +
                  f.manufacturer + f.numberOfUsers,
              "");
    EXPECT_TRUE(f.processors.empty());
    EXPECT_TRUE(f.caches.empty());
    EXPECT_TRUE(f.videoControllers.empty());
    EXPECT_EQ(f.localDateTime.size(), 14u);
}

TEST_F(LinuxSystemInfoTest, GarbledFilesLeaveTheirFactsEmpty)
{
    write("/usr/lib/os-release", "garbage without equals\n=\nNAME='Some Linux'\n");
    write("/proc/sys/kernel/osrelease", "6.1.0-18-amd64\n");
    write("/proc/stat", "btime notanumber\n");
    write("/proc/meminfo", "MemTotal: lots\nMemAvailable: 12 kB\n");
    write("/proc/cpuinfo", "processor : 0\nmodel : x\n\n\n");
    cache(0, 0, 1, "Data", "K", "0");
    write("/sys/class/drm/card0/device/vendor", "0x8086\n");
    write("/sys/class/drm/card0/device/device", "0x3e92\n");
    write("/sys/class/drm/card1/device/boot_vga", "1\n"); // the desktop's adapter leads

    const SystemFacts f = facts();
    EXPECT_EQ(f.osCaption, "Some Linux");
    EXPECT_EQ(f.osVersion, "6.1.0-18-amd64"); // the kernel release without a version
    EXPECT_EQ(f.lastBootUpTime + f.totalVisibleMemoryKb + f.memoryLoadPercent, "");
    EXPECT_EQ(f.freePhysicalMemoryKb, "12");
    ASSERT_EQ(f.processors.size(), 1u);
    EXPECT_EQ(f.processors[0].revision, "");
    EXPECT_TRUE(f.caches.empty());
    // No name list: the adapter is named by its PCI ids.
    ASSERT_EQ(f.videoControllers.size(), 2u);
    EXPECT_EQ(f.videoControllers[0].name, "");
    EXPECT_EQ(f.videoControllers[1].name, "PCI 8086:3e92");
}
