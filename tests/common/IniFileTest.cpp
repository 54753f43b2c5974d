#include "common/IniFile.h"

#include "IniCases.h"
#include "TempFolder.h"
#include "common/ErrorNumbers.h"

#include <gtest/gtest.h>

using namespace kesmaro;

TEST(IniFile, WritesWhatQSettingsWrites)
{
    for (const auto& c : test::kIniWriteCases) {
        IniFile file = IniFile::Parse(c.before.value_or(""));
        file.setValue(c.key, c.value);
        EXPECT_EQ(file.text(), c.after) << c.name;
        // What was written reads back, and writing it again changes nothing.
        const IniFile again = IniFile::Parse(file.text());
        EXPECT_EQ(again.value(c.key), c.value) << c.name;
        EXPECT_EQ(again.text(), c.after) << c.name;
    }
}

TEST(IniFile, ReadsWhatQSettingsReads)
{
    for (const auto& c : test::kIniReadCases)
        EXPECT_EQ(IniFile::Parse(std::string("[S]\n") + c.line + "\n").value("S/k"), c.value)
            << c.line;
}

TEST(IniFile, LoadsAndSavesTheFileThroughAtomicReplacement)
{
    test::TempFolder dir;
    const auto path = dir.path() / "KesmaroExtra.ini";
    const IniFile::Loaded missing = IniFile::Load(path);
    EXPECT_EQ(missing.error, 0);
    EXPECT_EQ(missing.file.text(), "");

    IniFile file = missing.file;
    file.setValue("StatusLine/RollingMinutes", "90");
    ASSERT_EQ(file.Save(path), 0);
    EXPECT_EQ(ReadWholeFile(path).bytes, "[StatusLine]\nRollingMinutes=90\n");
    EXPECT_EQ(IniFile::Load(path).file.value("StatusLine/RollingMinutes"), "90");

    EXPECT_EQ(file.Save(dir.path() / "none" / "x.ini"), ErrPathNotFound);
    EXPECT_EQ(IniFile::Load(dir.path()).error, ErrPathFileAccess);
}
