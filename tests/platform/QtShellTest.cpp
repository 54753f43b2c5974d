#include "platform/qt/QtShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace kesmaro;

namespace {

// The started program runs on its own; wait for its trace with a generous bound.
bool PollFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class QtShellTest : public ::testing::Test {
protected:
    // A program that proves it ran by leaving a file behind.
    QString makeProgram(const QString& name)
    {
        const QString path = dir.path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    bool ran() const
    {
        return PollFor([&] { return QFile::exists(dir.path() + "/ran"); });
    }

    QTemporaryDir dir;
    QtShell shell;
};

} // namespace

TEST_F(QtShellTest, LaunchStartsAProgramWhosePathHasBlanks)
{
    const QString program = makeProgram("companion app.sh");
    EXPECT_TRUE(shell.Launch(program.toStdString()));
    EXPECT_TRUE(ran());
}

TEST_F(QtShellTest, OpeningAnExecutableDocumentStartsIt)
{
    const QString program = makeProgram("tool.sh");
    EXPECT_TRUE(shell.OpenDocument(program.toStdString()));
    EXPECT_TRUE(ran());
}

TEST_F(QtShellTest, RequestsThatCannotBeMadeAnswerFalse)
{
    struct Row {
        const char* name;
        std::function<bool()> call;
    } rows[] = {
        {"missing program", [&] { return shell.Launch((dir.path() + "/none").toStdString()); }},
        {"empty program", [&] { return shell.Launch(""); }},
        {"missing document",
         [&] { return shell.OpenDocument((dir.path() + "/ReadMe.txt").toStdString()); }},
        {"empty document", [&] { return shell.OpenDocument(""); }},
        {"empty address", [&] { return shell.OpenUrl(""); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(row.call());
    }
}
