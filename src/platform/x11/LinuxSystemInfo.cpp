#include "platform/x11/LinuxSystemInfo.h"

#include "platform/x11/XcbConnection.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <sys/utsname.h>
#include <utmpx.h>

namespace kesmaro {

namespace {

namespace fs = std::filesystem;

std::string Trim(std::string text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    // Files under /proc and /sys are small; a device file that streams forever is cut here.
    std::string result = text.str();
    if (result.size() > (1 << 20))
        result.resize(1 << 20);
    return result;
}

std::string ReadLine(const fs::path& path)
{
    return Trim(ReadText(path));
}

bool ParseInt(const std::string& text, long long& value)
{
    const std::string trimmed = Trim(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    int base = 10;
    if (trimmed.size() > 2 && trimmed[0] == '0' && (trimmed[1] == 'x' || trimmed[1] == 'X')) {
        first += 2;
        base = 16;
    }
    const auto result = std::from_chars(first, last, value, base);
    return result.ec == std::errc() && first != last;
}

// "key: value" or "KEY=value" lines.
std::map<std::string, std::string> ParseKeyValues(const std::string& text, char separator)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto at = line.find(separator);
        if (at == std::string::npos)
            continue;
        values.emplace(Trim(line.substr(0, at)), Trim(line.substr(at + 1)));
    }
    return values;
}

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

std::string Stamp(std::time_t when)
{
    std::tm local{};
    if (!localtime_r(&when, &local))
        return {};
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return std::string(text, n);
}

std::string Get(const std::map<std::string, std::string>& values, const std::string& key)
{
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

// A /proc/meminfo amount in kilobytes ("MemTotal:  16318584 kB").
bool MemKb(const std::map<std::string, std::string>& info, const std::string& key, long long& kb)
{
    std::string value = Get(info, key);
    const auto unit = value.find(' ');
    if (unit != std::string::npos)
        value.resize(unit);
    return ParseInt(value, kb);
}

void ReadOs(const std::string& root, SystemFacts& facts)
{
    std::string text = ReadText(root + "/etc/os-release");
    if (text.empty())
        text = ReadText(root + "/usr/lib/os-release");
    const auto os = ParseKeyValues(text, '=');
    facts.osCaption = Unquote(Get(os, "PRETTY_NAME"));
    if (facts.osCaption.empty())
        facts.osCaption = Unquote(Get(os, "NAME"));
    facts.osVersion = Unquote(Get(os, "VERSION_ID"));
    if (facts.osVersion.empty())
        facts.osVersion = ReadLine(root + "/proc/sys/kernel/osrelease");
    facts.buildType = ReadLine(root + "/proc/sys/kernel/version");
}

void ReadTimes(const std::string& root, SystemFacts& facts)
{
    facts.localDateTime = Stamp(std::time(nullptr));
    std::istringstream stat(ReadText(root + "/proc/stat"));
    std::string line;
    while (std::getline(stat, line)) {
        if (line.rfind("btime ", 0) == 0) {
            long long boot = 0;
            if (ParseInt(line.substr(6), boot) && boot > 0)
                facts.lastBootUpTime = Stamp(static_cast<std::time_t>(boot));
            break;
        }
    }
}

void ReadUsers(const std::string& root, SystemFacts& facts)
{
    const std::string path = root + "/var/run/utmp";
    if (!fs::exists(path))
        return;
    // The utmpx calls keep process-wide state; we leave it pointing at the system file.
    if (utmpxname(path.c_str()) != 0)
        return;
    std::set<std::string> users;
    setutxent();
    while (const utmpx* entry = getutxent()) {
        if (entry->ut_type == USER_PROCESS)
            users.insert(
                std::string(entry->ut_user, ::strnlen(entry->ut_user, sizeof entry->ut_user)));
    }
    endutxent();
    utmpxname(_PATH_UTMPX);
    facts.numberOfUsers = std::to_string(users.size());
}

void ReadMemory(const std::string& root, SystemFacts& facts)
{
    const auto info = ParseKeyValues(ReadText(root + "/proc/meminfo"), ':');
    long long total = 0, available = 0, swapTotal = 0, swapFree = 0;
    const bool haveTotal = MemKb(info, "MemTotal", total);
    // MemAvailable (free plus reclaimable cache) is what Windows calls free physical memory.
    bool haveAvailable = MemKb(info, "MemAvailable", available);
    if (!haveAvailable)
        haveAvailable = MemKb(info, "MemFree", available);
    const bool haveSwap = MemKb(info, "SwapTotal", swapTotal) && MemKb(info, "SwapFree", swapFree);
    if (haveTotal)
        facts.totalVisibleMemoryKb = std::to_string(total);
    if (haveAvailable) {
        facts.freePhysicalMemoryKb = std::to_string(available);
        facts.availablePhysicalBytes = std::to_string(available * 1024);
    }
    if (haveTotal && haveSwap)
        facts.totalVirtualMemoryKb = std::to_string(total + swapTotal);
    if (haveAvailable && haveSwap)
        facts.freeVirtualMemoryKb = std::to_string(available + swapFree);
    if (haveTotal && haveAvailable && total > 0 && available <= total)
        facts.memoryLoadPercent = std::to_string((total - available) * 100 / total);
}

void ReadProcessors(const std::string& root, SystemFacts& facts)
{
    utsname machine{};
    const std::string arch = uname(&machine) == 0 ? machine.machine : "";
    // One entry per physical package, as the report lists sockets, not logical processors.
    std::set<std::string> seen;
    std::istringstream blocks(ReadText(root + "/proc/cpuinfo") + "\n\n");
    std::string line, block;
    auto flush = [&] {
        const auto cpu = ParseKeyValues(block, ':');
        block.clear();
        if (cpu.empty() || Get(cpu, "processor").empty())
            return;
        const std::string package = Get(cpu, "physical id");
        if (!seen.insert(package.empty() ? Get(cpu, "processor") : package).second)
            return;
        SystemFacts::Processor p;
        p.name = Get(cpu, "model name");
        if (p.name.empty())
            p.name = Get(cpu, "Processor");
        long long model = 0, stepping = 0;
        const bool haveModel = ParseInt(Get(cpu, "model"), model);
        const bool haveStepping = ParseInt(Get(cpu, "stepping"), stepping);
        if (haveModel && haveStepping)
            p.revision = std::to_string(model * 256 + stepping);
        const std::string family = Get(cpu, "cpu family");
        if (!family.empty() && haveModel && haveStepping)
            p.description = Trim(arch + " Family " + family + " Model " + std::to_string(model) +
                                 " Stepping " + std::to_string(stepping));
        facts.processors.push_back(p);
    };
    while (std::getline(blocks, line)) {
        if (Trim(line).empty())
            flush();
        else
            block += line + "\n";
    }
}

void ReadCaches(const std::string& root, SystemFacts& facts)
{
    // The sum per level over distinct cache instances (a cache shared by several processors
    // is counted once), like the per-level totals of the report.
    std::map<long long, long long> kbPerLevel;
    std::set<std::string> instances;
    std::error_code ec;
    const fs::path cpus = root + "/sys/devices/system/cpu";
    for (fs::directory_iterator cpu(cpus, ec), end; !ec && cpu != end; cpu.increment(ec)) {
        const std::string name = cpu->path().filename().string();
        if (name.size() < 4 || name.rfind("cpu", 0) != 0 ||
            !std::all_of(name.begin() + 3, name.end(),
                         [](char ch) { return ch >= '0' && ch <= '9'; }))
            continue;
        std::error_code ec2;
        for (fs::directory_iterator index(cpu->path() / "cache", ec2), end2; !ec2 && index != end2;
             index.increment(ec2)) {
            long long level = 0, kb = 0;
            if (!ParseInt(ReadLine(index->path() / "level"), level))
                continue;
            std::string size = ReadLine(index->path() / "size");
            long long scale = 1;
            if (!size.empty() && (size.back() == 'K' || size.back() == 'M')) {
                scale = size.back() == 'M' ? 1024 : 1;
                size.pop_back();
            }
            if (!ParseInt(size, kb))
                continue;
            const std::string key = std::to_string(level) + "/" + ReadLine(index->path() / "type") +
                                    "/" + ReadLine(index->path() / "shared_cpu_list");
            if (instances.insert(key).second)
                kbPerLevel[level] += kb * scale;
        }
    }
    int number = 0;
    for (const auto& [level, kb] : kbPerLevel) {
        facts.caches.push_back({std::to_string(kb), "L" + std::to_string(level) + " Cache",
                                "Cache Memory " + std::to_string(number++)});
    }
}

std::string PciName(const std::string& root, long long vendor, long long device)
{
    for (const char* file : {"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"}) {
        std::ifstream ids(root + file);
        if (!ids)
            continue;
        std::string line, vendorName;
        bool inVendor = false;
        while (std::getline(ids, line)) {
            if (line.empty() || line[0] == '#')
                continue;
            long long id = 0;
            if (line[0] != '\t') {
                inVendor =
                    line.size() > 6 && ParseInt("0x" + line.substr(0, 4), id) && id == vendor;
                if (inVendor)
                    vendorName = Trim(line.substr(4));
                else if (!vendorName.empty())
                    break;
            } else if (inVendor && line.size() > 6 && line[1] != '\t' &&
                       ParseInt("0x" + line.substr(1, 4), id) && id == device) {
                return vendorName + " " + Trim(line.substr(5));
            }
        }
        if (!vendorName.empty())
            return vendorName;
    }
    return {};
}

SystemFacts::VideoController ReadVideoController(const std::string& root, const fs::path& card)
{
    SystemFacts::VideoController video;
    const fs::path device = card / "device";
    long long vendor = 0, id = 0;
    if (ParseInt(ReadLine(device / "vendor"), vendor) &&
        ParseInt(ReadLine(device / "device"), id)) {
        video.name = PciName(root, vendor, id);
        if (video.name.empty()) {
            char text[32];
            std::snprintf(text, sizeof text, "PCI %04llx:%04llx", vendor, id);
            video.name = text;
        }
    }
    std::error_code ec;
    const std::string driver = fs::read_symlink(device / "driver", ec).filename().string();
    if (!ec && !driver.empty()) {
        video.driverVersion = ReadLine(root + "/sys/module/" + driver + "/version");
        if (video.driverVersion.empty())
            video.driverVersion = driver;
    }
    long long vram = 0;
    if (ParseInt(ReadLine(device / "mem_info_vram_total"), vram))
        video.adapterRam = std::to_string(vram);
    return video;
}

void ReadVideo(const std::string& root, SystemFacts& facts)
{
    std::error_code ec;
    // The adapter the firmware started on (boot_vga) shows the desktop: it leads, the others
    // follow by number.
    std::vector<std::pair<std::pair<bool, long long>, fs::path>> cards;
    for (fs::directory_iterator it(root + "/sys/class/drm", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        long long number = 0;
        if (name.rfind("card", 0) != 0 || name.find('-') != std::string::npos ||
            !ParseInt(name.substr(4), number))
            continue;
        const bool bootVga = ReadLine(it->path() / "device" / "boot_vga") == "1";
        cards.push_back({{!bootVga, number}, it->path()});
    }
    std::sort(cards.begin(), cards.end());
    for (const auto& card : cards)
        facts.videoControllers.push_back(ReadVideoController(root, card.second));
}

void ReadMachine(const std::string& root, SystemFacts& facts)
{
    facts.manufacturer = ReadLine(root + "/sys/class/dmi/id/sys_vendor");
    facts.model = ReadLine(root + "/sys/class/dmi/id/product_name");
    if (facts.model.empty())
        facts.model = ReadLine(root + "/proc/device-tree/model");
}

std::string ScreenMode(const std::string& display)
{
    x11::XcbConnection conn(display);
    if (!conn.ensure() || !conn.screen())
        return {};
    const xcb_screen_t* screen = conn.screen();
    // The wording of the Windows report: "1920 x 1080 x 4294967296 colors".
    const unsigned long long colours = 1ULL << std::min<int>(screen->root_depth, 32);
    return std::to_string(screen->width_in_pixels) + " x " +
           std::to_string(screen->height_in_pixels) + " x " + std::to_string(colours) + " colors";
}

} // namespace

LinuxSystemInfo::LinuxSystemInfo() : LinuxSystemInfo(Options{}) {}

LinuxSystemInfo::LinuxSystemInfo(Options options) : m_options(std::move(options)) {}

SystemFacts LinuxSystemInfo::Facts()
{
    SystemFacts facts;
    const std::string& root = m_options.rootDir;
    ReadOs(root, facts);
    ReadTimes(root, facts);
    ReadUsers(root, facts);
    ReadMemory(root, facts);
    ReadProcessors(root, facts);
    ReadCaches(root, facts);
    ReadVideo(root, facts);
    ReadMachine(root, facts);
    if (m_options.queryX11) {
        // The X screen's mode belongs to the adapter that shows the desktop.
        std::string mode = ScreenMode(m_options.display);
        if (!mode.empty() && facts.videoControllers.empty())
            facts.videoControllers.emplace_back();
        if (!facts.videoControllers.empty())
            facts.videoControllers.front().modeDescription = std::move(mode);
    }
    return facts;
}

} // namespace kesmaro
