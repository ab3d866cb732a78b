#include "common/fileutils.h"

#include <QFile>
#include <QSaveFile>

QByteArray TFileUtils::LoadFileText(const QString& path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    QByteArray content = file.readAll();
    if (content.size() < size || file.error() != QFileDevice::NoError)
        return {};
    return content;
}

bool TFileUtils::SaveFileText(const QString& path, const QByteArray& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
