#pragma once

#include <QString>

class QAbstractButton;

// What the main window offers its views: the program folder, its status bar panels, its
// caption, and the play tool button that the Music view paints.
class ViewHost {
public:
    virtual ~ViewHost() = default;

    virtual QString AppPath() const = 0;
    // Each view writes only its own panel.
    virtual void SetStatusText(int panel, const QString& text) = 0;
    virtual void SetCaption(const QString& caption) = 0;
    virtual QAbstractButton* PlayButton() = 0;
};
