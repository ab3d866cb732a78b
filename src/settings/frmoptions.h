#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TOptions;

// The "Control Panel": the downloads folder, the search history, connecting at start-up,
// clearing completed downloads, and the two download limits. It changes the options object
// only on OK.
class TfrmOptions final : public QDialog {
    Q_OBJECT
public:
    // appPath is the program's folder, whose Data folder holds the search histories.
    TfrmOptions(QWidget* owner, QString appPath);

    void LoadOptions(TOptions& options);
    void StoreOptions();

    void cmdBrowseDirectoryClick();
    void cmdClearSearchHistoryClick();
    void cmdOKClick();

    QGroupBox* gbxHeader01;
    QLineEdit* txtDownloadsPath;
    QPushButton* cmdBrowseDirectory;
    QGroupBox* gbxHeader02;
    QCheckBox* chkUseSearchHistory;
    QPushButton* cmdClearSearchHistory;
    QGroupBox* gbxHeader03;
    QCheckBox* chkAutoConnect;
    QCheckBox* chkClearCompleted;
    QSpinBox* updMaxDownloads;
    QSpinBox* updDownloadsKb;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // The arrows' ranges and steps.
    static constexpr int MaxDownloadsLow = 1, MaxDownloadsHigh = 30;
    static constexpr int BandwidthLow = 32, BandwidthHigh = 10240, BandwidthStep = 32;

private:
    void deleteHistoryFiles() const;

    QString m_appPath;
    TOptions* m_options = nullptr;
};
