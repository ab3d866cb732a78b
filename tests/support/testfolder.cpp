#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString tempTemplate()
{
    const QString base = qEnvironmentVariable("TAVRIN_TEST_TMP", QDir::tempPath());
    QDir().mkpath(base);
    return base + QStringLiteral("/tavrin-XXXXXX");
}
} // namespace

TestFolder::TestFolder() : m_dir(tempTemplate()) {}

QString TestFolder::write(const QString& name, const QByteArray& bytes) const
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return path;
}
