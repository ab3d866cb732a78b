#include "common/fileutils.h"
#include "engine/hostcachefile.h"
#include "support/testfolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray merged(const QByteArray& file, const QByteArray& defaults, bool fileExists = true,
                  bool defaultExists = true)
{
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("cache.net"));
    const QString defaultPath = folder.file(QStringLiteral("defaultcache.net"));
    if (fileExists)
        folder.write(QStringLiteral("cache.net"), file);
    if (defaultExists)
        folder.write(QStringLiteral("defaultcache.net"), defaults);
    MergeHostCacheFile(path, defaultPath);
    EXPECT_TRUE(QFile::exists(path));
    if (defaultExists) {
        EXPECT_EQ(TFileUtils::LoadFileText(defaultPath), defaults) << "the default stays";
    }
    return TFileUtils::LoadFileText(path);
}

TEST(HostCacheMerge, SortedWithoutRepeatsFirstCaseWins)
{
    EXPECT_EQ(merged("b\na", "A\r\nc"), QByteArray("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(merged("Host:1\rhost:2", "HOST:1\nhost:3\r\n"),
              QByteArray("Host:1\r\nhost:2\r\nhost:3\r\n"));
}

TEST(HostCacheMerge, MissingFilesAndEmptyLines)
{
    EXPECT_EQ(merged({}, {}, false, false), QByteArray());
    EXPECT_EQ(merged({}, "x\r\n\r\ny", false), QByteArray("\r\nx\r\ny\r\n"));
    EXPECT_EQ(merged("  \t\r\n z \r\n\r\n", {}, true, false), QByteArray("z\r\n"));
}

} // namespace
