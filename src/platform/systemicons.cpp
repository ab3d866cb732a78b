#include "platform/systemicons.h"

#include <QFileIconProvider>
#include <QFileInfo>

SystemIcons::SystemIcons() : m_provider(new QFileIconProvider) {}

SystemIcons::~SystemIcons()
{
    delete m_provider;
}

SystemIcons& SystemIcons::shared()
{
    static SystemIcons table;
    return table;
}

int SystemIcons::indexFor(const QString& key, const QIcon& icon)
{
    const qsizetype known = m_keys.indexOf(key);
    if (known >= 0)
        return int(known);
    if (icon.isNull())
        return -1;
    m_keys.append(key);
    m_icons.append(icon);
    return int(m_icons.size() - 1);
}

int SystemIcons::SystemIconIndex(const QString& path, int attributes)
{
    Q_UNUSED(attributes);
    const QFileInfo info(path);
    if (info.exists() && info.isDir())
        return indexFor(QStringLiteral("inode/directory"),
                        m_provider->icon(QFileIconProvider::Folder));
    const QMimeType type = info.exists() ? m_mime.mimeTypeForFile(info)
                                         : m_mime.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const qsizetype known = m_keys.indexOf(type.name());
    if (known >= 0)
        return int(known);
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull())
        icon = m_provider->icon(QFileIconProvider::File);
    return indexFor(type.name(), icon);
}

int SystemIcons::IconIndexForName(const QString& fileName)
{
    const qsizetype slash = std::max(fileName.lastIndexOf(QLatin1Char('/')),
                                     fileName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > slash ? fileName.mid(dot).toLower() : QString();
    const auto known = m_byExtension.constFind(extension);
    if (known != m_byExtension.constEnd())
        return *known;
    const int index = SystemIconIndex(QStringLiteral("name") + extension);
    m_byExtension.insert(extension, index);
    return index;
}

QIcon SystemIcons::icon(int index) const
{
    if (index < 0 || index >= m_icons.size())
        return {};
    return m_icons.at(index);
}
