#include "settings/frmoptions.h"

#include "platform/dialogs.h"
#include "settings/options.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// A number box whose value changes only through its arrows, shown with the locale's thousands
// separator.
QSpinBox* arrowBox(int low, int high, int step, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setSingleStep(step);
    box->setGroupSeparatorShown(true);
    box->setLocale(QLocale());
    box->setKeyboardTracking(false);
    // Typing is refused; the arrows (and the arrow keys) still work.
    box->findChild<QLineEdit*>()->setReadOnly(true);
    box->setMinimumWidth(90);
    return box;
}

} // namespace

TfrmOptions::TfrmOptions(QWidget* owner, QString appPath)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_appPath(std::move(appPath))
{
    setWindowTitle(QStringLiteral("Control Panel"));

    gbxHeader01 = new QGroupBox(QStringLiteral("Downloads Folder"), this);
    txtDownloadsPath = new QLineEdit(gbxHeader01);
    txtDownloadsPath->setReadOnly(true);
    cmdBrowseDirectory = new QPushButton(QStringLiteral("..."), gbxHeader01);
    cmdBrowseDirectory->setFixedWidth(32);
    auto* folder = new QHBoxLayout(gbxHeader01);
    folder->addWidget(txtDownloadsPath, 1);
    folder->addWidget(cmdBrowseDirectory);

    gbxHeader02 = new QGroupBox(QStringLiteral("Search"), this);
    chkUseSearchHistory = new QCheckBox(QStringLiteral("Use search history"), gbxHeader02);
    cmdClearSearchHistory = new QPushButton(QStringLiteral("Clear last searches"), gbxHeader02);
    auto* search = new QHBoxLayout(gbxHeader02);
    search->addWidget(chkUseSearchHistory, 1);
    search->addWidget(cmdClearSearchHistory);

    gbxHeader03 = new QGroupBox(QStringLiteral("Network"), this);
    chkAutoConnect = new QCheckBox(QStringLiteral("Connect on startup"), gbxHeader03);
    chkClearCompleted = new QCheckBox(QStringLiteral("Clear downloads when complete"), gbxHeader03);
    auto* line = new QFrame(gbxHeader03);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    updMaxDownloads = arrowBox(MaxDownloadsLow, MaxDownloadsHigh, 1, gbxHeader03);
    updDownloadsKb = arrowBox(BandwidthLow, BandwidthHigh, BandwidthStep, gbxHeader03);
    auto* network = new QGridLayout(gbxHeader03);
    network->addWidget(chkAutoConnect, 0, 0, 1, 3);
    network->addWidget(chkClearCompleted, 1, 0, 1, 3);
    network->addWidget(line, 2, 0, 1, 3);
    network->addWidget(new QLabel(QStringLiteral("Maximum simultaneous downloads:"), gbxHeader03), 3, 0);
    network->addWidget(updMaxDownloads, 3, 1);
    network->addWidget(new QLabel(QStringLiteral("Available bandwidth for downloads:"), gbxHeader03), 4, 0);
    network->addWidget(updDownloadsKb, 4, 1);
    network->addWidget(new QLabel(QStringLiteral("KB"), gbxHeader03), 4, 2);
    network->setColumnStretch(0, 1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbxHeader01);
    layout->addWidget(gbxHeader02);
    layout->addWidget(gbxHeader03);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumSize(341, 334);

    connect(cmdBrowseDirectory, &QPushButton::clicked, this, &TfrmOptions::cmdBrowseDirectoryClick);
    connect(cmdClearSearchHistory, &QPushButton::clicked, this,
            &TfrmOptions::cmdClearSearchHistoryClick);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmOptions::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOptions::LoadOptions(TOptions& options)
{
    m_options = &options;
    txtDownloadsPath->setText(options.DownloadsPath);
    chkUseSearchHistory->setChecked(options.UseSearchHistory);
    chkAutoConnect->setChecked(options.AutoConnect);
    chkClearCompleted->setChecked(options.ClearCompleted);
    // A stored value outside the arrows' range shows as the nearest end; a bandwidth between two
    // steps shows as the nearest step, so the arrows move on the steps they promise.
    updMaxDownloads->setValue(std::clamp(options.MaxDownloads, MaxDownloadsLow, MaxDownloadsHigh));
    const int stepped = (std::clamp(options.MaxKbpsDownloads, BandwidthLow, BandwidthHigh) +
                         BandwidthStep / 2) / BandwidthStep * BandwidthStep;
    updDownloadsKb->setValue(std::clamp(stepped, BandwidthLow, BandwidthHigh));
}

void TfrmOptions::StoreOptions()
{
    m_options->DownloadsPath = txtDownloadsPath->text();
    m_options->UseSearchHistory = chkUseSearchHistory->isChecked();
    m_options->AutoConnect = chkAutoConnect->isChecked();
    m_options->ClearCompleted = chkClearCompleted->isChecked();
    m_options->MaxDownloads = updMaxDownloads->value();
    m_options->MaxKbpsDownloads = updDownloadsKb->value();
}

void TfrmOptions::cmdBrowseDirectoryClick()
{
    Dialogs& dialogs = Dialogs::instance();
    const std::optional<QString> chosen =
        dialogs.chooseFolder(this, QStringLiteral("Downloads Folder"), txtDownloadsPath->text());
    if (!chosen || chosen->isEmpty())
        return;
    const QString folder = QDir::cleanPath(*chosen);
    if (!QDir(folder).exists()) {
        if (!dialogs.confirm(this, QStringLiteral("Confirm Action"),
                             QStringLiteral("The folder\n%1\ndoes not exist. Do you want to create it?")
                                 .arg(folder)))
            return;
        if (!QDir().mkpath(folder)) {
            dialogs.information(this, QStringLiteral("Information"),
                                QStringLiteral("The folder could not be created."));
            return;
        }
    }
    txtDownloadsPath->setText(folder);
}

void TfrmOptions::deleteHistoryFiles() const
{
    for (const char* file : {"/Data/keywords.dat", "/Data/artists.dat"})
        QFile::remove(m_appPath + QLatin1String(file));
}

void TfrmOptions::cmdClearSearchHistoryClick()
{
    deleteHistoryFiles();
}

void TfrmOptions::cmdOKClick()
{
    StoreOptions();
    if (!m_options->UseSearchHistory)
        deleteHistoryFiles();
    accept();
}
