// The helper programs' --help: usage on standard output, status 0, no display needed.

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome RunWithoutDisplay(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome run;
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(HelperPrograms, HelpPrintsTheUsageOnStandardOutputAndExits0)
{
    struct Row {
        const char* program;
        const char* usage;                // how the help begins
        std::vector<const char*> options; // each named in it
    };
    const Row rows[] = {
        {KESMARO_SIMGAME_EXE,
         "usage: kesmaro-simgame ",
         {"--class", "--script", "--play", "--render", "--coin-area", "--at", "--help"}},
        {KESMARO_REPLAY_EXE, "usage: kesmaro-replay ", {"--out", "--find-areas", "--colour"}},
    };
    for (const Row& row : rows) {
        for (const char* option : {"--help", "-h"}) {
            SCOPED_TRACE(std::string(row.program) + " " + option);
            const Outcome run =
                RunWithoutDisplay(QString::fromUtf8(row.program), {QString::fromUtf8(option)});
            EXPECT_EQ(run.status, 0) << run.err.toStdString();
            EXPECT_TRUE(run.out.startsWith(QString::fromUtf8(row.usage))) << run.out.toStdString();
            EXPECT_EQ(run.err, QString());
            for (const char* named : row.options)
                EXPECT_TRUE(run.out.contains(QString::fromUtf8(named))) << named;
        }
        SCOPED_TRACE(row.program);
        const Outcome mixed = RunWithoutDisplay(
            QString::fromUtf8(row.program), {QStringLiteral("--help"), QStringLiteral("--out")});
        EXPECT_EQ(mixed.status, 2) << "--help with other arguments is a usage error";
        EXPECT_EQ(mixed.out, QString());
    }
}

} // namespace
