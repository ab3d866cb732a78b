#pragma once

#include "platform/dialogs.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

// A Dialogs service for tests: records every box shown as "kind|caption|text" and answers
// with scripted replies. Installed for the life of the object.
class RecordingDialogs final : public Dialogs {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;

    void information(QWidget* parent, const QString& caption, const QString& text) override;
    void warning(QWidget* parent, const QString& caption, const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& value) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                        const QString& start) override;
    int runModal(QDialog& dialog) override;

    QStringList shown;
    // Replies, taken in order; a missing reply counts as No / Cancel.
    std::deque<bool> confirmReplies;
    // Texts and folders; a null string stands for Cancel.
    QStringList textReplies;
    // What a modal dialog does while it "runs"; without one it is rejected (its close box).
    std::deque<std::function<void(QDialog&)>> modalScripts;

private:
    std::optional<QString> nextText();
};
