#pragma once

// The program harness as the tests of the Qt-typed layers (app, the windows, the tools) see it:
// log lines, frame texts and the folder in Qt text. Goes when those layers speak UTF-8.

#include "ProgramHarness.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace kesmaro::test {

// The harness's folder with QTemporaryDir's accessors.
class QtFolder {
public:
    explicit QtFolder(const TempFolder& folder) : m_folder(folder) {}
    QString path() const { return QString::fromStdString(m_folder.folder()); }
    QString filePath(const QString& name) const
    {
        return QString::fromStdString(m_folder.file(name.toStdString()));
    }

private:
    const TempFolder& m_folder;
};

class QtProgramHarness : public ProgramHarness {
public:
    explicit QtProgramHarness(ProgramOptions options = {}) : ProgramHarness(options) {}

    void show(const QString& lv, const QString& exp, const QString& coins, int coinArea = 4)
    {
        ProgramHarness::show(lv.toStdString(), exp.toStdString(), coins.toStdString(), coinArea);
    }
    QStringList logLines() const
    {
        QStringList lines;
        for (const std::string& line : ProgramHarness::logLines())
            lines << QString::fromStdString(line);
        return lines;
    }

    QtFolder dir{ProgramHarness::dir};
};

class QtProgramFixture : public ::testing::Test, public QtProgramHarness {
protected:
    explicit QtProgramFixture(ProgramOptions options = {}) : QtProgramHarness(options) {}
};

} // namespace kesmaro::test
