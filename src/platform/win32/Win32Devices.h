#pragma once

#include "platform/Beeper.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

#include <memory>

namespace kesmaro {

// Beep blocks for the tone's length, so tones play one after another on a thread of their own.
class Win32Beeper : public Beeper {
public:
    Win32Beeper();
    ~Win32Beeper() override;
    Win32Beeper(const Win32Beeper&) = delete;
    Win32Beeper& operator=(const Win32Beeper&) = delete;

    void SystemBeep() override;
    void Tone(int frequencyHz, int durationMs) override;

private:
    struct Player;
    std::unique_ptr<Player> m_player;
};

// Documents and addresses through ShellExecuteW "open"; companion programs started directly,
// never through a command interpreter, so no character of their path is ever interpreted.
class Win32Shell : public Shell {
public:
    bool OpenDocument(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
    bool Launch(const std::string& program) override;
};

// MessageBoxW, modal to the whole thread's windows.
class Win32Prompter : public Prompter {
public:
    PromptAnswer Ask(const Prompt& prompt) override;
};

// The facts from GlobalMemoryStatusEx, the system calls and the registry.
class Win32SystemInfo : public SystemInfo {
public:
    SystemFacts Facts() override;
};

} // namespace kesmaro
