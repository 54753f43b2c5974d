#pragma once

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "common/Files.h"
#include "common/Text.h"
#include "config/ConfigFile.h"

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kesmaro {

// The settings record as start-up leaves it before reading, the program's scripted prompter
// and its debug log.
class ConfigFileFixture : public test::ProgramFixture {
protected:
    ConfigFileFixture() { reset(); }

    // The record as start-up leaves it before reading.
    void reset()
    {
        m_settings = Settings{};
        m_settings.SearchWindowClass = kDefaultWindowClass;
    }

    std::string folder() const { return dir.folder(); }
    std::string file() const { return ConfigFilePath(folder()); }
    std::string backup() const { return ConfigBackupPath(folder()); }

    static void put(const std::string& path, std::string_view bytes)
    {
        std::ofstream f(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(f.is_open()) << path;
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(f.flush()) << path;
    }
    static std::optional<std::string> contents(const std::string& path)
    {
        FileBytes read = ReadWholeFile(PathFromUtf8(path));
        if (read.error != 0)
            return std::nullopt;
        return std::move(read.bytes);
    }
    // The bytes the writer produces for these lines.
    static std::string encode(const std::vector<std::string>& lines)
    {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += EncodeCp932(line) + "\r\n";
        return bytes + "\r\n";
    }
    // A file of tests/data/config, written for this program folder.
    std::string sample(const char* name) const
    {
        const std::optional<std::string> bytes =
            contents(std::string(KESMARO_TEST_DATA "/config/") + name);
        EXPECT_TRUE(bytes) << name;
        return ReplaceAll(bytes.value_or(""), "{folder}", EncodeCp932(folder()));
    }
    // The record after the default chain answered full screen and yellow.
    Settings defaults() const
    {
        Settings s;
        s.SearchWindowClass = kDefaultWindowClass;
        ApplyDefaults(s, folder());
        SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
        LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
        return s;
    }
    std::vector<std::string> titles() const
    {
        std::vector<std::string> t;
        for (const auto& asked : m_prompter.asked())
            t.push_back(asked.prompt.title);
        return t;
    }
    std::vector<std::string> logged() const { return logLines(); }

    Settings& m_settings = p.settings;
    SimPrompter& m_prompter = sim.prompter;
    ConfigContext m_ctx{m_settings, m_prompter, log, folder()};
};

} // namespace kesmaro
