#pragma once

#include "common/Cp932.h"
#include "common/DebugLog.h"
#include "common/TextFile.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kesmaro {

// A program folder of its own, the settings record as start-up leaves it before reading, a
// scripted prompter and the debug log.
class ConfigFileFixture : public ::testing::Test {
protected:
    ConfigFileFixture() { reset(); }

    // The record as start-up leaves it before reading.
    void reset()
    {
        m_settings = Settings{};
        m_settings.SearchWindowClass = kDefaultWindowClass;
    }

    QString folder() const { return QDir::toNativeSeparators(m_dir.path()); }
    QString file() const { return ConfigFilePath(folder()); }
    QString backup() const { return ConfigBackupPath(folder()); }

    static void put(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static std::optional<QByteArray> contents(const QString& path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        return f.readAll();
    }
    // The bytes the writer produces for these lines.
    static QByteArray encode(const QStringList& lines)
    {
        QByteArray bytes;
        for (const QString& line : lines)
            bytes += EncodeCp932(line) + "\r\n";
        return bytes + "\r\n";
    }
    // A file of tests/data/config written for this program folder.
    QByteArray sample(const char* name) const
    {
        QFile f(QStringLiteral(KESMARO_TEST_DATA "/config/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        return f.readAll().replace("{folder}", EncodeCp932(folder()));
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
    // Debug-log lines without their time stamp.
    std::vector<std::string> logged() const
    {
        std::vector<std::string> lines;
        if (QFile::exists(m_log.path())) {
            TextLineReader reader(m_log.path());
            while (!reader.atEnd())
                lines.push_back(reader.readLine().mid(20).toStdString());
        }
        return lines;
    }

    QTemporaryDir m_dir;
    SimClock m_clock{LocalDateTime{}, 0};
    DebugLog m_log{folder(), m_clock};
    SimPrompter m_prompter;
    Settings m_settings;
    ConfigContext m_ctx{m_settings, m_prompter, m_log, folder()};
};

} // namespace kesmaro
