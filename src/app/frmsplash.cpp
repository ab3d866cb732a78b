#include "app/frmsplash.h"

#include "platform/jpegimage.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

TfrmSplash::TfrmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setFixedSize(346, 304);
    pnlContainer = new QFrame(this);
    pnlContainer->setFrameShape(QFrame::Box);
    pnlContainer->setLineWidth(1);
    pnlContainer->setAutoFillBackground(true);
    QPalette white = pnlContainer->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlContainer->setPalette(white);
    pnlContainer->setGeometry(0, 0, 346, 304);

    imgLogo = new QLabel(pnlContainer);
    QFile picture(QStringLiteral(":/splash.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        imgLogo->setPixmap(QPixmap::fromImage(DecodeJpeg(picture.readAll())));
    imgLogo->setGeometry(1, 1, 344, 302);

    tmrClose.setInterval(3000);
    tmrClose.setSingleShot(true);
    connect(&tmrClose, &QTimer::timeout, this, &TfrmSplash::tmrCloseTimer);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmSplash::Start()
{
    tmrClose.start();
}

void TfrmSplash::tmrCloseTimer()
{
    tmrClose.stop();
    accept();
}

void TfrmSplash::ExitClick()
{
    tmrClose.stop();
    accept();
}

void TfrmSplash::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    ExitClick();
}
