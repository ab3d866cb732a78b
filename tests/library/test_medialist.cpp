#include "library/medialistmodel.h"
#include "library/playlist.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <gtest/gtest.h>

namespace {

MediaRow row(const char* title, const char* artist, int quality, int size)
{
    MediaRow r;
    r.title = QString::fromUtf8(title);
    r.artist = QString::fromUtf8(artist);
    r.quality = quality;
    r.size = size;
    r.seconds = quality;
    return r;
}

QStringList titles(const MediaListModel& model)
{
    QStringList out;
    for (int i = 0; i < model.rowCount(); ++i)
        out << model.at(i).title;
    return out;
}

TEST(MediaList, SortingByTheDesignedRules)
{
    MediaListModel model({});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setRows({row("b", "Zed", 192, 900), row("A", "abba", 64, 1024), row("_c", "Émile", 320, 5),
                   row("B", "abba", 128, 10000000)});

    model.columnClicked(MediaListModel::SizeColumn);
    EXPECT_EQ(titles(model), (QStringList{"_c", "b", "A", "B"})) << "bytes, not texts";
    model.columnClicked(MediaListModel::SizeColumn);
    EXPECT_EQ(model.sortState(), -9);
    EXPECT_EQ(titles(model), (QStringList{"B", "A", "b", "_c"}));

    model.columnClicked(MediaListModel::QualityColumn);
    EXPECT_EQ(titles(model), (QStringList{"A", "B", "b", "_c"}));

    // Codes after lowering A to Z: "_" (95) comes before every lowered letter.
    model.columnClicked(MediaListModel::TitleColumn);
    EXPECT_EQ(titles(model), (QStringList{"_c", "A", "B", "b"})) << "equal rows keep their order";
    model.columnClicked(MediaListModel::ArtistColumn);
    EXPECT_EQ(model.sortState(), 3);
    EXPECT_EQ(titles(model), (QStringList{"A", "B", "b", "_c"})) << "É sorts after z by code";
    model.columnClicked(MediaListModel::ArtistColumn);
    EXPECT_EQ(model.sortState(), -3);
    EXPECT_EQ(titles(model).first(), QStringLiteral("_c"));

    model.append(row("0", "", 1, 1));
    EXPECT_EQ(titles(model).last(), QStringLiteral("0")) << "added rows are not sorted in";
}

TEST(MediaList, TextsAndStripes)
{
    MediaListModel model({});
    MediaRow r = row("Song", "Artist", 128, 1048576);
    r.seconds = 3661;
    model.setRows({r, r, r});
    const auto text = [&](int column) {
        return model.data(model.index(0, column), Qt::DisplayRole).toString();
    };
    EXPECT_EQ(text(MediaListModel::QualityColumn), QStringLiteral("128"));
    EXPECT_EQ(text(MediaListModel::DurationColumn), QStringLiteral("01:01:01"));
    EXPECT_TRUE(text(MediaListModel::SizeColumn).endsWith(QStringLiteral(" MB")));
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.data(model.index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(238, 250, 255));
    EXPECT_EQ(model.headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Quality"));
}

TEST(PlayList, HandsOutEachFileThenStartsAgain)
{
    TPlayList list;
    EXPECT_EQ(list.NextFile(), QString());
    EXPECT_EQ(list.Current, 0);
    list.AddFile(QStringLiteral("b"), -1);
    list.AddFile(QStringLiteral("c"), 5);
    list.AddFile(QStringLiteral("a"), 0);
    EXPECT_EQ(list.Files, (QStringList{"a", "b", "c"}));
    list.Rewind();
    EXPECT_EQ(list.NextFile(), QStringLiteral("a"));
    EXPECT_EQ(list.NextFile(), QStringLiteral("b"));
    EXPECT_EQ(list.NextFile(), QStringLiteral("c"));
    EXPECT_EQ(list.Current, -1);
    EXPECT_EQ(list.NextFile(), QString());
    EXPECT_EQ(list.Current, 0);
    EXPECT_EQ(list.NextFile(), QStringLiteral("a"));
    list.Clear();
    EXPECT_EQ(list.Current, -1);
    EXPECT_TRUE(list.Files.isEmpty());
}

} // namespace
