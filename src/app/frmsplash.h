#pragma once

#include <QDialog>
#include <QTimer>

class QFrame;
class QLabel;

// The picture shown for three seconds before the main window; a click closes it sooner.
class TfrmSplash final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    void Start();
    void tmrCloseTimer();
    void ExitClick();

    QFrame* pnlContainer;
    QLabel* imgLogo;
    QTimer tmrClose;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
