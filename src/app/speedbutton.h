#pragma once

#include <QToolButton>

// A flat tool button that carries its command in Tag: view number x 100 + command number for
// command buttons, the view number for view buttons, 0 for decoration.
class TSpeedButton final : public QToolButton {
    Q_OBJECT
public:
    TSpeedButton(int tag, QWidget* parent);

    int Tag;
};
