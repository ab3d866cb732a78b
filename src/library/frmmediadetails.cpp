#include "library/frmmediadetails.h"

#include "common/stringutils.h"
#include "library/mymediadb.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* editableCombo(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(317);
    return box;
}

} // namespace

TfrmMediaDetails::TfrmMediaDetails(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("File Details"));
    gbxHeader = new QGroupBox(this);
    txtTitle = new QLineEdit(gbxHeader);
    txtTitle->setMinimumWidth(317);
    cmbArtists = editableCombo(gbxHeader);
    cmbAlbums = editableCombo(gbxHeader);
    cmbGenres = editableCombo(gbxHeader);
    txtYear = new QLineEdit(gbxHeader);
    txtYear->setMaxLength(4);
    auto* form = new QFormLayout(gbxHeader);
    form->setVerticalSpacing(8);
    form->addRow(QStringLiteral("Title"), txtTitle);
    form->addRow(QStringLiteral("Artist"), cmbArtists);
    form->addRow(QStringLiteral("Album"), cmbAlbums);
    form->addRow(QStringLiteral("Genre"), cmbGenres);
    form->addRow(QStringLiteral("Year"), txtYear);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {cmdOK, cmdCancel})
        button->setMinimumSize(75, 25);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmMediaDetails::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TfrmMediaDetails::cmdCancelClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(gbxHeader);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmMediaDetails::FillList(QComboBox* box, const QStringList& values)
{
    for (const QString& value : values)
        if (!value.isEmpty())
            box->addItem(value);
}

void TfrmMediaDetails::LoadDetails(TMyMediaDB& db, const QString& folder, const QString& fileName)
{
    m_db = &db;
    m_folder = folder;
    m_fileName = fileName;
    FillList(cmbArtists, db.SelectArtists());
    FillList(cmbAlbums, db.SelectAlbums());
    FillList(cmbGenres, db.SelectGenres());
    const std::vector<MediaRecord> found = db.FindMedia(folder, fileName);
    if (found.empty())
        return;
    const MediaRecord& record = found.front();
    txtTitle->setText(record.fTitle);
    cmbArtists->setEditText(record.fArtist);
    cmbAlbums->setEditText(record.fAlbum);
    cmbGenres->setEditText(record.fGenre);
    txtYear->setText(record.fYear);
}

void TfrmMediaDetails::SaveDetails()
{
    m_db->UpdateMediaDetails(m_folder, m_fileName, TStringUtils::TrimControls(txtTitle->text()),
                             TStringUtils::TrimControls(cmbArtists->currentText()), TStringUtils::TrimControls(cmbAlbums->currentText()),
                             TStringUtils::TrimControls(cmbGenres->currentText()), TStringUtils::TrimControls(txtYear->text()));
}

void TfrmMediaDetails::cmdOKClick()
{
    SaveDetails();
    accept();
}

void TfrmMediaDetails::cmdCancelClick()
{
    reject();
}
