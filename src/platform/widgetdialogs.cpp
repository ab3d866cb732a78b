#include "platform/widgetdialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

void WidgetDialogs::information(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text);
}

void WidgetDialogs::warning(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::warning(parent, caption, text);
}

bool WidgetDialogs::confirm(QWidget* parent, const QString& caption, const QString& text)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> WidgetDialogs::askText(QWidget* parent, const QString& caption,
                                              const QString& prompt, const QString& value)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::chooseFolder(QWidget* parent, const QString& caption,
                                                   const QString& start)
{
    const QString folder = QFileDialog::getExistingDirectory(parent, caption, start);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

int WidgetDialogs::runModal(QDialog& dialog)
{
    return dialog.exec();
}
