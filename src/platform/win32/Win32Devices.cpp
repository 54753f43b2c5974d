#include "platform/win32/Win32Devices.h"

#include "common/Utf8.h"
#include "platform/win32/ToneTimeline.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <windows.h>
// Needs the types of windows.h first.
#include <shellapi.h>

namespace kesmaro {

namespace {

// Beep's own range; a longer tone would hold the queue for nothing.
constexpr int kMinToneHz = 37;
constexpr int kMaxToneHz = 32767;
constexpr int kMaxToneMs = 5000;

using SteadyClock = std::chrono::steady_clock;

std::int64_t SteadyMs(SteadyClock::time_point at)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

} // namespace

struct Win32Beeper::Player {
    struct Request {
        int hz;
        int ms;
        SteadyClock::time_point requested;
    };
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Request> tones;
    bool stopping = false;
    std::thread thread;

    void Run()
    {
        ToneTimeline timeline;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return stopping || !tones.empty(); });
            if (stopping)
                return;
            const Request tone = tones.front();
            tones.pop_front();
            const std::int64_t requestedMs = SteadyMs(tone.requested);
            const SteadyClock::time_point start =
                tone.requested +
                std::chrono::milliseconds(timeline.place(requestedMs, tone.ms) - requestedMs);
            if (wake.wait_until(lock, start, [&] { return stopping; }))
                return;
            const int hz = tone.hz;
            const int ms = tone.ms;
            lock.unlock();
            Beep(static_cast<DWORD>(hz), static_cast<DWORD>(ms));
            lock.lock();
        }
    }
};

Win32Beeper::Win32Beeper() : m_player(std::make_unique<Player>())
{
    m_player->thread = std::thread([player = m_player.get()] { player->Run(); });
}

Win32Beeper::~Win32Beeper()
{
    {
        std::lock_guard lock(m_player->mutex);
        m_player->stopping = true;
    }
    m_player->wake.notify_all();
    m_player->thread.join();
}

void Win32Beeper::SystemBeep()
{
    // The user's "default beep" sound, played asynchronously by the system.
    MessageBeep(MB_OK);
}

void Win32Beeper::Tone(int frequencyHz, int durationMs)
{
    if (frequencyHz < kMinToneHz || frequencyHz > kMaxToneHz || durationMs <= 0)
        return;
    {
        std::lock_guard lock(m_player->mutex);
        m_player->tones.push_back(
            {frequencyHz, std::min(durationMs, kMaxToneMs), SteadyClock::now()});
    }
    m_player->wake.notify_all();
}

namespace {

bool ShellOpen(const std::wstring& target)
{
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values above 32 are success; the rest are error codes.
    return result > 32;
}

} // namespace

bool Win32Shell::OpenDocument(const std::string& path)
{
    if (path.empty())
        return false;
    const std::wstring wide = Utf8ToWide(path);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    return ShellOpen(wide);
}

bool Win32Shell::OpenUrl(const std::string& url)
{
    if (url.empty())
        return false;
    return ShellOpen(Utf8ToWide(url));
}

bool Win32Shell::Launch(const std::string& program)
{
    if (program.empty() || program.find('"') != std::string::npos)
        return false;
    // Quoted, the whole text is the program, blanks and all; the search still finds a bare
    // name on the path and adds ".exe".
    std::wstring commandLine = L"\"" + Utf8ToWide(program) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

PromptAnswer Win32Prompter::Ask(const Prompt& prompt)
{
    UINT style = MB_TASKMODAL | MB_SETFOREGROUND;
    switch (prompt.buttons) {
    case PromptButtons::Ok:
        style |= MB_OK;
        break;
    case PromptButtons::OkCancel:
        style |= MB_OKCANCEL;
        break;
    case PromptButtons::YesNo:
        style |= MB_YESNO;
        break;
    }
    switch (prompt.icon) {
    case PromptIcon::None:
        break;
    case PromptIcon::Information:
        style |= MB_ICONINFORMATION;
        break;
    case PromptIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case PromptIcon::Critical:
        style |= MB_ICONERROR;
        break;
    case PromptIcon::Question:
        style |= MB_ICONQUESTION;
        break;
    }
    const int answer = MessageBoxW(nullptr, Utf8ToWide(prompt.text).c_str(),
                                   Utf8ToWide(prompt.title).c_str(), style);
    switch (prompt.buttons) {
    case PromptButtons::Ok:
        return PromptAnswer::Ok;
    case PromptButtons::OkCancel:
        return answer == IDOK ? PromptAnswer::Ok : PromptAnswer::Cancel;
    case PromptButtons::YesNo:
        return answer == IDYES ? PromptAnswer::Yes : PromptAnswer::No;
    }
    return PromptAnswer::Cancel;
}

namespace {

std::string Number(unsigned long long value)
{
    return std::to_string(value);
}

std::string Stamp(const SYSTEMTIME& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

std::string RegistryText(HKEY root, const wchar_t* key, const wchar_t* name)
{
    wchar_t buffer[512];
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    std::string text = WideToUtf8(buffer);
    // Vendors pad processor names with blanks.
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

void ReadMemory(SystemFacts& facts)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return;
    // As the management service counts: "virtual" is physical memory plus the page file.
    facts.freePhysicalMemoryKb = Number(status.ullAvailPhys / 1024);
    facts.totalVisibleMemoryKb = Number(status.ullTotalPhys / 1024);
    facts.freeVirtualMemoryKb = Number(status.ullAvailPageFile / 1024);
    facts.totalVirtualMemoryKb = Number(status.ullTotalPageFile / 1024);
    facts.memoryLoadPercent = Number(status.dwMemoryLoad);
    facts.availablePhysicalBytes = Number(status.ullAvailPhys);
}

void ReadOs(SystemFacts& facts)
{
    const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    facts.osCaption = RegistryText(HKEY_LOCAL_MACHINE, key, L"ProductName");
    facts.buildType = RegistryText(HKEY_LOCAL_MACHINE, key, L"CurrentType");
    // GetVersionEx lies to programs without a manifest; the kernel's own call does not.
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion =
        ntdll == nullptr ? nullptr
                         : reinterpret_cast<RtlGetVersion>(
                               reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (getVersion != nullptr && getVersion(&version) == 0) {
        facts.osVersion = Number(version.dwMajorVersion) + "." + Number(version.dwMinorVersion) +
                          "." + Number(version.dwBuildNumber);
        facts.servicePackMajor = Number(version.wServicePackMajor);
        facts.servicePackMinor = Number(version.wServicePackMinor);
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    facts.localDateTime = Stamp(now);
    // Boot = now − uptime, in file-time units of 100 ns.
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER at{{file.dwLowDateTime, file.dwHighDateTime}};
    at.QuadPart -= GetTickCount64() * 10'000;
    file = {at.LowPart, at.HighPart};
    SYSTEMTIME boot;
    if (FileTimeToSystemTime(&file, &boot))
        facts.lastBootUpTime = Stamp(boot);
}

void ReadProcessors(SystemFacts& facts)
{
    // One entry a package, as the management service lists sockets; the registry has one key
    // a logical processor, all alike within a package.
    DWORD bytes = 0;
    GetLogicalProcessorInformation(nullptr, &bytes);
    std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> info(
        bytes / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
    int packages = 0;
    std::map<int, unsigned long long> cacheBytesPerLevel;
    if (!info.empty() && GetLogicalProcessorInformation(info.data(), &bytes)) {
        for (const auto& item : info) {
            if (item.Relationship == RelationProcessorPackage)
                ++packages;
            else if (item.Relationship == RelationCache)
                cacheBytesPerLevel[item.Cache.Level] += item.Cache.Size;
        }
    }
    SYSTEM_INFO system;
    GetNativeSystemInfo(&system);
    const wchar_t* key = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    SystemFacts::Processor processor{RegistryText(HKEY_LOCAL_MACHINE, key, L"ProcessorNameString"),
                                     Number(system.wProcessorRevision),
                                     RegistryText(HKEY_LOCAL_MACHINE, key, L"Identifier")};
    for (int i = 0; i < std::max(packages, 1); ++i)
        facts.processors.push_back(processor);
    int number = 0;
    for (const auto& [level, size] : cacheBytesPerLevel)
        facts.caches.push_back({Number(size / 1024), "L" + std::to_string(level) + " Cache",
                                "Cache Memory " + std::to_string(number++)});
}

void ReadVideo(SystemFacts& facts)
{
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &device, 0); ++i) {
        if ((device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) != 0)
            continue;
        SystemFacts::VideoController video;
        video.name = WideToUtf8(device.DeviceString);
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        const bool primary = (device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0;
        if (primary && EnumDisplaySettingsW(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode) &&
            mode.dmBitsPerPel > 0 && mode.dmBitsPerPel < 64) {
            // The wording of the management service: "1920 x 1080 x 4294967296 colors".
            video.modeDescription = Number(mode.dmPelsWidth) + " x " + Number(mode.dmPelsHeight) +
                                    " x " + Number(1ULL << mode.dmBitsPerPel) + " colors";
        }
        if (primary)
            facts.videoControllers.insert(facts.videoControllers.begin(), video);
        else if (!video.name.empty())
            facts.videoControllers.push_back(video);
        device = {};
        device.cb = sizeof device;
    }
}

void ReadMachine(SystemFacts& facts)
{
    const wchar_t* key = L"HARDWARE\\DESCRIPTION\\System\\BIOS";
    facts.manufacturer = RegistryText(HKEY_LOCAL_MACHINE, key, L"SystemManufacturer");
    facts.model = RegistryText(HKEY_LOCAL_MACHINE, key, L"SystemProductName");
}

} // namespace

SystemFacts Win32SystemInfo::Facts()
{
    SystemFacts facts;
    ReadOs(facts);
    ReadMemory(facts);
    ReadProcessors(facts);
    ReadVideo(facts);
    ReadMachine(facts);
    return facts;
}

} // namespace kesmaro
