#pragma once

#include <QWidget>

// One of the main window's three views. The window initialises each view once when it is
// created, finalises it once when it is destroyed, and passes the view's tool-button commands
// to it by number.
class ViewFrame : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Initialize() = 0;
    virtual void Finalize() = 0;
    virtual void ToolCommand(int number) = 0;
};
