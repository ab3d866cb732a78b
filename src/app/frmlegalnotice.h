#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class TOptions;

// The notice about downloading protected files, with the choice not to be reminded.
class TfrmLegalNotice final : public QDialog {
    Q_OBJECT
public:
    TfrmLegalNotice(QWidget* owner, TOptions& options);

    void cmdOKClick();

    QGroupBox* gbxHeader;
    QLabel* lblHeader01;
    QLabel* lblHeader02;
    QLabel* lblHeader03;
    QCheckBox* chkDontRemind;
    QPushButton* cmdOK;

private:
    TOptions& m_options;
};
