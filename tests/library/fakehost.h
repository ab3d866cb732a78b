#pragma once

#include "platform/viewhost.h"

#include <QToolButton>

// The main window as the views see it, for view tests.
class FakeHost final : public ViewHost {
public:
    explicit FakeHost(QString appPath) : m_appPath(std::move(appPath)) {}

    QString AppPath() const override { return m_appPath; }
    void SetStatusText(int panel, const QString& text) override { panels[panel] = text; }
    void SetCaption(const QString& text) override { caption = text; }
    QAbstractButton* PlayButton() override { return &playButton; }

    QString panels[4];
    QString caption = QStringLiteral("Tavrin");
    QToolButton playButton;

private:
    QString m_appPath;
};
