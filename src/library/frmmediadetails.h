#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TMyMediaDB;

// Edits the descriptive fields of one library record (the file's own tags are not written).
class TfrmMediaDetails final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMediaDetails(QWidget* owner);

    void LoadDetails(TMyMediaDB& db, const QString& folder, const QString& fileName);
    void SaveDetails();
    void cmdOKClick();
    void cmdCancelClick();

    QGroupBox* gbxHeader;
    QLineEdit* txtTitle;
    QComboBox* cmbArtists;
    QComboBox* cmbAlbums;
    QComboBox* cmbGenres;
    QLineEdit* txtYear;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    void FillList(QComboBox* box, const QStringList& values);

    TMyMediaDB* m_db = nullptr;
    QString m_folder;
    QString m_fileName;
};
