#pragma once

#include "common/rowtablemodel.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// One row of the library list: what the list shows of a file and where the file lies.
struct MediaRow {
    QString title;
    QString artist;
    QString album;
    QString genre;
    QString year;
    int32_t quality = 0;
    int32_t seconds = 0;
    int32_t size = 0;
    QString folder;
    QString fileName;
    int icon = -1;

    QString path() const { return folder + QLatin1Char('/') + fileName; }
};

// The library list: icon, Title, Artist, Album, Genre, Year, Quality, Duration and Size, rows on
// odd positions striped. Sorting follows a signed state: 0 unsorted, +/-(column + 1) ascending or
// descending; texts compare by their codes after lowering A to Z, Quality and Size as numbers.
class MediaListModel final : public RowTableModel<MediaRow> {
    Q_OBJECT
public:
    enum Column { IconColumn, TitleColumn, ArtistColumn, AlbumColumn, GenreColumn, YearColumn,
                  QualityColumn, DurationColumn, SizeColumn, ColumnCount };

    // icons gives the picture for an icon index.
    explicit MediaListModel(std::function<QVariant(int)> icons, QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A click on a column heading: the same column flips its direction, another one is sorted
    // ascending. The list is sorted once; rows added later are appended.
    void columnClicked(int column);
    int sortState() const { return m_sortState; }
    void sortBy(int state);

    // Compares two rows under a sort state; negative, zero or positive.
    static int compare(const MediaRow& a, const MediaRow& b, int state);

private:
    std::function<QVariant(int)> m_icons;
    int m_sortState = 0;
};
