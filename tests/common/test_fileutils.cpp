#include "common/fileutils.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(FileUtils, SaveThenLoadKeepsEveryByte)
{
    TestFolder folder;
    QByteArray bytes("line one\r\nline two\n");
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    const QString path = folder.file(QStringLiteral("data.txt"));
    ASSERT_TRUE(TFileUtils::SaveFileText(path, bytes));
    EXPECT_EQ(TFileUtils::LoadFileText(path), bytes);
}

TEST(FileUtils, EmptyTextGivesAnEmptyFile)
{
    TestFolder folder;
    const QString path = folder.write(QStringLiteral("old.txt"), "old content");
    ASSERT_TRUE(TFileUtils::SaveFileText(path, QByteArray()));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
}

TEST(FileUtils, MissingFileLoadsEmpty)
{
    TestFolder folder;
    EXPECT_TRUE(TFileUtils::LoadFileText(folder.file(QStringLiteral("none"))).isEmpty());
    EXPECT_TRUE(TFileUtils::LoadFileText(folder.path()).isEmpty());
}

TEST(FileUtils, FailedSaveKeepsTheOldContent)
{
    TestFolder folder;
    // A name of the longest length a folder allows leaves no room for the temporary file beside
    // it, so the write fails, even for a user whom permissions do not stop.
    const QString name(255, QLatin1Char('k'));
    const QString path = folder.write(name, "precious");
    ASSERT_EQ(TFileUtils::LoadFileText(path), QByteArray("precious"));
    EXPECT_FALSE(TFileUtils::SaveFileText(path, "replacement"));
    EXPECT_EQ(TFileUtils::LoadFileText(path), QByteArray("precious"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{name});
}

TEST(FileUtils, SaveIntoAMissingFolderFails)
{
    TestFolder folder;
    EXPECT_FALSE(TFileUtils::SaveFileText(folder.file(QStringLiteral("no/such/file.txt")), "x"));
}

} // namespace
