#pragma once

#include "library/medialistmodel.h"
#include "library/mymediadb.h"
#include "library/playlist.h"
#include "platform/viewframe.h"

#include <QIcon>
#include <QTimer>
#include <cstdint>
#include <memory>

class AudioPlayer;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;
class QTextEdit;
class TPlayerBar;
class ViewHost;

// The Music view: the library list with its cover and lyric panel, the embedded player, and
// the commands on library files.
class TfraMedia final : public ViewFrame {
    Q_OBJECT
public:
    TfraMedia(ViewHost& host, std::unique_ptr<AudioPlayer> player, QWidget* parent = nullptr);
    ~TfraMedia() override;

    void Initialize() override;
    void Finalize() override;
    // 0 play or stop, 1 rename, 2 edit details, 3 delete, 4 locate, 5 refresh.
    void ToolCommand(int number) override;

    void SetMusicFolder(const QString& folder);
    QString MusicFolder() const { return m_musicFolder; }
    // A completed download in the music folder joins the library.
    void AddDownloadedFile(const QString& fileName, int32_t fileSize);
    // Plays one file at once, outside the play list.
    void PlayFile(const QString& path);

    void ScanFolder(const QString& folder);
    void LoadList();

    // The player's notification that the current file played to its end.
    void wmpPlayerEnded();
    void tmrPlayTimer();
    void lvwMediaColumnClick(int column);
    void UpdateDetails();

    QTableView* lvwMedia;
    QLabel* imgCover;
    QTextEdit* memLyric;
    QSplitter* splMedia;
    QWidget* pnlMediaDetails;
    TPlayerBar* wmpPlayer;
    QMenu* popMedia;
    QTimer tmrPlay;
    TPlayList PlayList;
    bool Playing = false;

    MediaListModel& model() { return *m_model; }
    TMyMediaDB& database() { return m_db; }

private:
    void PlaySelected();
    void PlayNext();
    void StopPlaying();
    void SetPlayButton(int glyph, const QString& hint);
    void RenameSelected();
    void EditSelected();
    void DeleteSelected();
    bool ConfirmDelete(const QList<int>& rows);
    void LocateMedia();
    void ShowCover(const QString& path);
    void ShowLyric(const QString& path);
    void ShowNoLyric();
    void popMediaPopup();
    void AddListItem(const MediaRecord& record);
    void setStatusText();
    QList<int> selectedRows() const;

    ViewHost& m_host;
    std::unique_ptr<AudioPlayer> m_player;
    TMyMediaDB m_db;
    MediaListModel* m_model;
    QString m_musicFolder;
    QIcon m_playStates[2];
    QAction* m_popItems[6] = {};
};
