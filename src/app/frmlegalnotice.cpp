#include "app/frmlegalnotice.h"

#include "settings/options.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* wrappedLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

TfrmLegalNotice::TfrmLegalNotice(QWidget* owner, TOptions& options)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_options(options)
{
    setWindowTitle(QStringLiteral("Legal Notice"));
    gbxHeader = new QGroupBox(this);
    lblHeader01 = wrappedLabel(
        QStringLiteral("Downloading media files may be illegal depending on where you are "
                       "located and on whether the files are protected by copyright."),
        gbxHeader);
    lblHeader02 = wrappedLabel(
        QStringLiteral("It is not illegal to download media files that are part of the Public "
                       "Domain or that otherwise have been made available for promotional "
                       "purposes and sampling."),
        gbxHeader);
    lblHeader03 = wrappedLabel(
        QStringLiteral("If you are not sure whether you can download a particular media file "
                       "legally or not, please do not download that file."),
        gbxHeader);
    auto* texts = new QVBoxLayout(gbxHeader);
    texts->addWidget(lblHeader01);
    texts->addWidget(lblHeader02);
    texts->addWidget(lblHeader03);

    chkDontRemind = new QCheckBox(QStringLiteral("Don't remind me in the future"), this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmLegalNotice::cmdOKClick);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(chkDontRemind);
    bottom->addStretch();
    bottom->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gbxHeader);
    layout->addLayout(bottom);

    // The notice keeps its width; its height follows the font so that no line is cut.
    setFixedWidth(365);
    setMinimumHeight(161);
    adjustSize();
}

void TfrmLegalNotice::cmdOKClick()
{
    m_options.ShowLegalNotice = !chkDontRemind->isChecked();
    accept();
}
