#pragma once

#include "common/rowtablemodel.h"

#include <QIcon>
#include <QString>
#include <cstdint>

// One download as the list shows it; ETA, Speed and Hosts are texts that may be empty.
struct DownloadRow {
    QString fileName;
    int32_t size = 0;
    int32_t received = 0;
    QString status;
    QString eta;
    QString speed;
    QString hosts;
    int32_t progress = 0;
    int32_t downloadId = 0;
};

// The download list: File Name, Size, Received, Status, ETA, Speed, Hosts and a progress bar.
class DownloadsModel final : public RowTableModel<DownloadRow> {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, ReceivedColumn, StatusColumn, EtaColumn, SpeedColumn,
                  HostsColumn, ProgressColumn, ColumnCount };

    explicit DownloadsModel(QObject* parent = nullptr);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The first row of the download, or -1.
    int find(int32_t downloadId) const;
    // Received / (size / 100), truncated; 0 while the size is not known.
    static int32_t ProgressOf(int32_t received, int32_t size);
    // "1023 bps", or kbit/s rounded with halves to even: "2 kbps" for 2560.
    static QString SpeedText(int32_t rate);

    void columnClicked(int column);
    int sortState() const { return m_sortState; }
    static int compare(const DownloadRow& a, const DownloadRow& b, int state);

private:
    QIcon m_arrow;
    int m_sortState = 0;
};
