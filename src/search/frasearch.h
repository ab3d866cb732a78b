#pragma once

#include "platform/viewframe.h"
#include "search/resultsmodel.h"

#include <QElapsedTimer>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableView;
class SearchHost;
class TOptions;

// The Search view: the entry panel with its three modes and histories, and the results list.
class TfraSearch final : public ViewFrame {
    Q_OBJECT
public:
    TfraSearch(SearchHost& host, TOptions& options, QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    // 0 new search, 1 download the selected results.
    void ToolCommand(int number) override;

    // Calls of the main window, as the connection and the engine's search events change.
    void ReloadHistory();
    void NetworkConnected();
    void NetworkDisconnected();
    void SearchPaused();
    void ResultReceived(int32_t searchId, int32_t resultId, const QString& fileName,
                        int32_t fileSize, int32_t hosts);
    void ResultUpdated(int32_t searchId, int32_t resultId, int32_t hosts);

    // Commands of the entry panel and the results list.
    void StartSearch();
    void StopSearch();
    void EndSearch();
    void SearchMore();
    void NewSearch();
    void DownloadSelected();
    void cmdSearchClick();
    void SetSearchMode(int mode);
    void SaveHistory();
    void AddToHistory(QComboBox* box, const QString& text);

    // A name's artist and title: the file title split at its one dash; an empty artist when
    // the title holds no dash or more than one.
    static std::pair<QString, QString> SplitArtistTitle(const QString& name);

    int32_t CurrentSearchID = -1;
    int32_t SearchMode = 0;
    QString ArtistFilter;
    QString TitleFilter;

    QRadioButton* radSearchKeywords;
    QComboBox* cmbKeywords;
    QRadioButton* radSearchArtist;
    QComboBox* cmbArtists;
    QCheckBox* chkMatchArtist;
    QRadioButton* radSearchSong;
    QComboBox* cmbSongArtists;
    QLineEdit* txtSongTitle;
    QCheckBox* chkMatchSong;
    QPushButton* cmdSearch;
    QPushButton* cmdSearchMore;
    QTableView* lvwResults;
    QMenu* popResults;
    QAction* mnuPopResultsDownload;

    ResultsModel& results() { return *m_results; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createEntryPanel();
    void createResultsList();
    void LoadHistory(QComboBox* box, const QString& file, const QString& prompt);
    void RunSearch(const QString& query);
    void emptyResults();
    bool acceptResult(const QString& artist, const QString& title) const;
    QString historyPath(const QString& file) const;

    SearchHost& m_host;
    TOptions& m_options;
    ResultsModel* m_results;
    QElapsedTimer m_sinceEvents;
};
