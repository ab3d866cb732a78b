// The Music view's commands: playing, renaming, editing details, deleting, locating and
// refreshing.

#include "common/formatting.h"
#include "library/audioplayer.h"
#include "library/framedia.h"
#include "library/frmmediadetails.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "platform/viewhost.h"

#include <QAbstractButton>
#include <QFile>
#include <QItemSelectionModel>
#include <QTableView>

void TfraMedia::ToolCommand(int number)
{
    switch (number) {
    case 0:
        if (Playing) {
            Playing = false;
            StopPlaying();
        } else if (selectedRows().isEmpty()) {
            Dialogs::instance().information(this, QStringLiteral("Information"),
                                            QStringLiteral("Please select one or more files to play."));
        } else {
            Playing = true;
            PlaySelected();
        }
        break;
    case 1:
        RenameSelected();
        break;
    case 2:
        EditSelected();
        break;
    case 3:
        DeleteSelected();
        break;
    case 4:
        LocateMedia();
        break;
    case 5:
        ScanFolder(m_musicFolder);
        break;
    default:
        break;
    }
}

void TfraMedia::PlaySelected()
{
    PlayList.Clear();
    const QList<int> rows = selectedRows();
    for (int row : rows)
        PlayList.AddFile(m_model->at(row).path(), -1);
    if (rows.size() > 1)
        lvwMedia->clearSelection();
    SetPlayButton(1, QStringLiteral("Stop Playing"));
    PlayList.Rewind();
    PlayNext();
}

void TfraMedia::PlayNext()
{
    const QString path = PlayList.NextFile();
    if (path.isEmpty()) {
        StopPlaying();
        m_host.SetCaption(QStringLiteral("Tavrin"));
        Playing = false;
        return;
    }
    m_host.SetCaption(QStringLiteral("Tavrin - ") + FileTitle(path));
    m_player->open(path);
    tmrPlay.start();
}

void TfraMedia::tmrPlayTimer()
{
    tmrPlay.stop();
    m_player->play();
}

void TfraMedia::wmpPlayerEnded()
{
    PlayNext();
}

void TfraMedia::StopPlaying()
{
    m_player->stop();
    SetPlayButton(0, QStringLiteral("Play Selected Files"));
}

void TfraMedia::SetPlayButton(int glyph, const QString& hint)
{
    if (QAbstractButton* button = m_host.PlayButton()) {
        button->setIcon(m_playStates[glyph]);
        button->setToolTip(hint);
    }
}

void TfraMedia::PlayFile(const QString& path)
{
    Playing = false;
    StopPlaying();
    m_host.SetCaption(QStringLiteral("Tavrin - ") + FileTitle(path));
    m_player->open(path);
}

void TfraMedia::RenameSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        Dialogs::instance().information(this, QStringLiteral("Information"),
                                        QStringLiteral("Please select a file to rename."));
        return;
    }
    MediaRow row = m_model->at(rows.front());
    const auto extensionOf = [](const QString& name) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return dot < 0 ? QString() : name.mid(dot).toLower();
    };
    const std::optional<QString> answer = Dialogs::instance().askText(
        this, QStringLiteral("Rename File"), QStringLiteral("Please enter the new name for the file."),
        row.fileName);
    if (!answer)
        return;
    const QString newName = *answer;
    // The new name stays a plain name in the same folder.
    if (newName.size() < 5 || newName == row.fileName ||
        extensionOf(newName) != extensionOf(row.fileName) || newName.contains(QLatin1Char('/')) ||
        newName.contains(QChar(0)))
        return;
    // A name that is taken is refused: an existing file is never replaced.
    if (!QFile::rename(row.path(), row.folder + QLatin1Char('/') + newName))
        return;
    m_db.UpdateMediaField(row.folder, row.fileName, QStringLiteral("fFileName"), newName);
    row.fileName = newName;
    m_model->replace(rows.front(), row);
}

void TfraMedia::EditSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    MediaRow row = m_model->at(rows.front());
    TfrmMediaDetails dialog(this);
    dialog.LoadDetails(m_db, row.folder, row.fileName);
    if (Dialogs::instance().runModal(dialog) != QDialog::Accepted)
        return;
    const std::vector<MediaRecord> found = m_db.FindMedia(row.folder, row.fileName);
    if (!found.empty()) {
        const MediaRecord& r = found.front();
        row.title = r.fTitle;
        row.artist = r.fArtist;
        row.album = r.fAlbum;
        row.genre = r.fGenre;
        row.year = r.fYear;
        m_model->replace(rows.front(), row);
    }
    UpdateDetails();
}

bool TfraMedia::ConfirmDelete(const QList<int>& rows)
{
    const QString question =
        rows.size() == 1
            ? QStringLiteral("Do you really want to delete\n%1 ?").arg(m_model->at(rows.front()).fileName)
            : QStringLiteral("Do you really want to delete the selected files ?");
    return Dialogs::instance().confirm(this, QStringLiteral("Confirm Action"), question);
}

void TfraMedia::DeleteSelected()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || !ConfirmDelete(rows))
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const MediaRow media = m_model->at(*row);
        if (!QFile::remove(media.path()))
            continue;
        m_model->removeRowAt(*row);
        m_db.DeleteMedia(media.folder, media.fileName);
    }
    setStatusText();
}

void TfraMedia::LocateMedia()
{
    ShellOpen(m_musicFolder);
}
