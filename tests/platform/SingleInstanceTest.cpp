#include "platform/SingleInstance.h"

#include "common/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kesmaro;

namespace {

// Another instance in a child process: it takes the lock, says so on a pipe and waits to be
// killed.
pid_t StartHolder(const QString& folder)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        SingleInstance lock(folder.toStdString());
        const char answer = lock.tryAcquire() == SingleInstance::Result::Acquired ? 'y' : 'n';
        if (::write(ready[1], &answer, 1) != 1)
            ::_exit(1);
        while (true)
            ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    const bool held = pid > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
    if (pid > 0 && !held) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

} // namespace

TEST(SingleInstanceTest, ASecondStartIsRefusedUntouchedAndALockOfAKilledOneIsTakenOver)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/run");
    const pid_t holder = StartHolder(folder);
    ASSERT_GT(holder, 0);

    const QString lockPath = folder + QStringLiteral("/kesmaro.lock");
    SingleInstance second(folder.toStdString());
    const std::string before = ReadFileBytes(lockPath.toStdString());
    const QDateTime modified = QFileInfo(lockPath).lastModified();
    EXPECT_EQ(second.tryAcquire(), SingleInstance::Result::AlreadyRunning);
    EXPECT_EQ(second.tryAcquire(), SingleInstance::Result::AlreadyRunning);
    EXPECT_EQ(ReadFileBytes(lockPath.toStdString()), before);
    EXPECT_EQ(QFileInfo(lockPath).lastModified(), modified);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"kesmaro.lock"});

    // Killed without a chance to clean up: its lock file stays behind.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_TRUE(QFile::exists(lockPath));
    {
        SingleInstance next(folder.toStdString());
        EXPECT_EQ(next.tryAcquire(), SingleInstance::Result::Acquired);
        EXPECT_EQ(next.tryAcquire(), SingleInstance::Result::Acquired);
        EXPECT_EQ(SingleInstance(folder.toStdString()).tryAcquire(),
                  SingleInstance::Result::AlreadyRunning);
    }
    EXPECT_FALSE(QFile::exists(lockPath)); // released when it went
}

TEST(SingleInstanceTest, AFolderThatCannotHoldALockDoesNotCountAsAnotherInstance)
{
    QTemporaryDir dir;
    QFile blocker(dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(
        SingleInstance((blocker.fileName() + QStringLiteral("/run")).toStdString()).tryAcquire(),
        SingleInstance::Result::Unavailable);
}
