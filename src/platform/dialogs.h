#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

// The message boxes and small dialogs of the program. One instance serves the whole process;
// tests install a recorder that answers with scripted replies, so no test ever waits on a
// modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // An information box with an OK button.
    virtual void information(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A warning box with an OK button.
    virtual void warning(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A line of text to edit; nothing when the user cancels.
    virtual std::optional<QString> askText(QWidget* parent, const QString& caption,
                                           const QString& prompt, const QString& value) = 0;
    // A folder chooser that can make new folders; nothing when the user cancels.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& caption,
                                                const QString& start) = 0;
    // Runs one of the program's own dialogs modally and returns its result code.
    virtual int runModal(QDialog& dialog) = 0;

    static Dialogs& instance();
    // Installs the service used by instance(); null restores the real message boxes.
    static void install(Dialogs* dialogs);
};
