#pragma once

#include "ProgramFixture.h"
#include "common/Cp932.h"
#include "config/ConfigFile.h"

#include <QDir>
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

    std::string folder() const { return QDir::toNativeSeparators(dir.path()).toStdString(); }
    std::string file() const { return ConfigFilePath(folder()); }
    std::string backup() const { return ConfigBackupPath(folder()); }

    static void put(const std::string& path, const QByteArray& bytes)
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static std::optional<QByteArray> contents(const std::string& path)
    {
        QFile f(QString::fromStdString(path));
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        return f.readAll();
    }
    // The bytes the writer produces for these lines.
    static QByteArray encode(const std::vector<std::string>& lines)
    {
        QByteArray bytes;
        for (const std::string& line : lines)
            bytes += QByteArray::fromStdString(EncodeCp932(line)) + "\r\n";
        return bytes + "\r\n";
    }
    // A file of tests/data/config written for this program folder.
    QByteArray sample(const char* name) const
    {
        QFile f(QStringLiteral(KESMARO_TEST_DATA "/config/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll().replace("{folder}", QByteArray::fromStdString(EncodeCp932(folder())));
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
    std::vector<std::string> logged() const
    {
        std::vector<std::string> lines;
        for (const QString& line : logLines())
            lines.push_back(line.toStdString());
        return lines;
    }

    Settings& m_settings = p.settings;
    SimPrompter& m_prompter = sim.prompter;
    ConfigContext m_ctx{m_settings, m_prompter, log, folder()};
};

} // namespace kesmaro
