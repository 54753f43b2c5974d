#include "app/SystemCheck.h"

#include "QtProgramHarness.h"
#include "platform/sim/SimPrompter.h"

#include <QDir>
#include <QTemporaryDir>

using namespace kesmaro;

namespace {

class SystemCheckTest : public test::QtProgramFixture {
protected:
    SystemCheckTest()
        : QtProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
};

SystemPartsFound AllBut(std::initializer_list<SystemPart> missing)
{
    SystemPartsFound found;
    found.fill(true);
    for (const SystemPart part : missing)
        found[part] = false;
    return found;
}

} // namespace

TEST_F(SystemCheckTest, OneMessageAndOneLinePerMissingPartThenTheSummary)
{
    const QString general = QStringLiteral("正常に動作しない可能性があります。");
    struct Row {
        std::initializer_list<SystemPart> missing;
        QStringList names;
        QStringList consequences;
    };
    const Row rows[] = {
        {{}, {}, {}},
        {{SystemPartSoundServer}, {QStringLiteral("PulseAudio")}, {general}},
        {{SystemPartXInput2},
         {QStringLiteral("XInputExtension")},
         {QStringLiteral("マウスジェスチャ機能が利用できない可能性があります。")}},
        {{SystemPartDesktopOpener, SystemPartMitShm, SystemPartJapaneseFont},
         {QStringLiteral("MIT-SHM"), QStringLiteral("Japanese font"), QStringLiteral("xdg-open")},
         {general, general, general}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.names.join(QLatin1Char(',')).toStdString());
        sim.prompter.clearAsked();
        QFile::remove(QString::fromStdString(log.path()));
        CheckSystemFiles(p, AllBut(row.missing));

        QStringList wantLines;
        const auto& asked = sim.prompter.asked();
        ASSERT_EQ(asked.size(), static_cast<std::size_t>(row.names.size()));
        for (qsizetype i = 0; i < row.names.size(); ++i) {
            const Prompt& prompt = asked[static_cast<std::size_t>(i)].prompt;
            EXPECT_EQ(prompt.title, "ライブラリファイルチェック");
            EXPECT_EQ(QString::fromStdString(prompt.text),
                      row.names[i] + QStringLiteral(" ファイルが見つかりませんでした。\r\n") +
                          row.consequences[i] + QStringLiteral("\r\n"));
            EXPECT_EQ(prompt.buttons, PromptButtons::Ok);
            EXPECT_EQ(prompt.icon, PromptIcon::Information);
            wantLines << QStringLiteral("System File of ") + row.names[i] +
                             QStringLiteral(" is Not Find ");
        }
        wantLines << (row.names.isEmpty()
                          ? QStringLiteral("Result of System File Check : No Problem ")
                          : QStringLiteral("Result of System File Check : A missing item "));
        EXPECT_EQ(logLines(), wantLines);
    }
}

// What is tested is where the executable lies: an installed copy in the temporary folder would
// write to the per-user folder, yet it is an archive viewer's copy all the same.
TEST(StartFolderTest, AnExecutableInTheTemporaryFolderIsRefusedWhateverItsLayout)
{
    QTemporaryDir temp;
    const QString bin = temp.filePath(QStringLiteral("unpacked/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(temp.filePath(QStringLiteral("unpacked/share/doc/kesmaro"))));
    SimPrompter prompter;
    EXPECT_EQ(ProgramFolderOrRefusal(prompter, bin, temp.path()), std::nullopt);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt.title, "起動エラー");
    EXPECT_NE(prompter.asked()[0].prompt.text.find(
                  "Zip圧縮ファイルは適切なフォルダに解凍してから実行してください。"),
              std::string::npos);

    // A portable copy elsewhere starts in its own folder, without a box.
    QTemporaryDir elsewhere;
    SimPrompter quiet;
    EXPECT_EQ(ProgramFolderOrRefusal(quiet, elsewhere.path(), temp.path()), elsewhere.path());
    EXPECT_TRUE(quiet.asked().empty());
}
