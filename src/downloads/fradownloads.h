#pragma once

#include "downloads/downloadsmodel.h"
#include "platform/viewframe.h"

#include <cstdint>

class DownloadsHost;
class QMenu;
class QTableView;
class TOptions;

// The Downloads view: one row per download, with the commands on them.
class TfraDownloads final : public ViewFrame {
    Q_OBJECT
public:
    TfraDownloads(DownloadsHost& host, TOptions& options, QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    // 0 preview, 1 find more hosts, 2 clear completed and cancelled.
    void ToolCommand(int number) override;

    // Calls of the main window, as the engine reports its downloads.
    void AddDownload(int32_t downloadId, const QString& fileName, int32_t fileSize,
                     int32_t received);
    void UpdateDownload(int32_t downloadId, int32_t received, int32_t secondsLeft, int32_t rate,
                        int32_t hostsKnown, int32_t hostsActive);
    void DownloadComplete(int32_t downloadId);

    // Commands.
    void ClearCompletedAndCancelled();
    void PreviewSelected();
    void PauseDownloads(bool selectedOnly);
    void ResumeDownloads(bool selectedOnly);
    void CancelDownloads(bool selectedOnly);
    void FindMoreHosts();

    QTableView* lvwDownloads;
    QMenu* popDownloads;
    QAction* mnuPopDownloadsPreview;
    QAction* mnuPopDownloadsPause;
    QAction* mnuPopDownloadsResume;
    QAction* mnuPopDownloadsCancel;
    QAction* mnuPopDownloadsFindMoreSources;
    QAction* mnuPopDownloadsPauseAll;
    QAction* mnuPopDownloadsResumeAll;
    QAction* mnuPopDownloadsCancelAll;
    QAction* mnuPopDownloadsClearCompleted;
    bool ListHasFocus = false;

    DownloadsModel& downloads() { return *m_model; }
    void popDownloadsPopup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ConfirmCancel(bool selectedOnly);
    // The rows a command walks, first to last: all, or the selected ones.
    QList<int> rowsFor(bool selectedOnly) const;
    void setRow(int row, const std::function<void(DownloadRow&)>& change);
    void setStatusText();

    DownloadsHost& m_host;
    TOptions& m_options;
    DownloadsModel* m_model;
};
