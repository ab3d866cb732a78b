#pragma once

#include "platform/dialogs.h"

// The real message boxes and dialogs, on Qt's standard widgets.
class WidgetDialogs final : public Dialogs {
public:
    void information(QWidget* parent, const QString& caption, const QString& text) override;
    void warning(QWidget* parent, const QString& caption, const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& value) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                        const QString& start) override;
    int runModal(QDialog& dialog) override;
};
