#include "support/recordingdialogs.h"

RecordingDialogs::RecordingDialogs()
{
    Dialogs::install(this);
}

RecordingDialogs::~RecordingDialogs()
{
    Dialogs::install(nullptr);
}

void RecordingDialogs::information(QWidget*, const QString& caption, const QString& text)
{
    shown << QStringLiteral("information|%1|%2").arg(caption, text);
}

void RecordingDialogs::warning(QWidget*, const QString& caption, const QString& text)
{
    shown << QStringLiteral("warning|%1|%2").arg(caption, text);
}

bool RecordingDialogs::confirm(QWidget*, const QString& caption, const QString& text)
{
    shown << QStringLiteral("confirm|%1|%2").arg(caption, text);
    if (confirmReplies.empty())
        return false;
    const bool reply = confirmReplies.front();
    confirmReplies.pop_front();
    return reply;
}

std::optional<QString> RecordingDialogs::askText(QWidget*, const QString& caption,
                                                 const QString& prompt, const QString& value)
{
    shown << QStringLiteral("ask|%1|%2|%3").arg(caption, prompt, value);
    return nextText();
}

std::optional<QString> RecordingDialogs::chooseFolder(QWidget*, const QString& caption,
                                                      const QString& start)
{
    shown << QStringLiteral("folder|%1|%2").arg(caption, start);
    return nextText();
}

int RecordingDialogs::runModal(QDialog& dialog)
{
    shown << QStringLiteral("modal|%1").arg(dialog.windowTitle());
    dialog.setResult(QDialog::Rejected);
    if (!modalScripts.empty()) {
        auto script = modalScripts.front();
        modalScripts.pop_front();
        script(dialog);
    }
    return dialog.result();
}

std::optional<QString> RecordingDialogs::nextText()
{
    if (textReplies.isEmpty() || textReplies.front().isNull()) {
        if (!textReplies.isEmpty())
            textReplies.removeFirst();
        return std::nullopt;
    }
    return std::make_optional(textReplies.takeFirst());
}
