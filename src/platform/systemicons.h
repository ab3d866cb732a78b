#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QMimeDatabase>
#include <QString>

class QFileIconProvider;

// The table of small file icons that the lists show. An icon is found by its index; the same
// kind of file always gets the same index, so rows hold a number instead of a picture.
class SystemIcons final {
public:
    SystemIcons();
    ~SystemIcons();

    // The index of the file's icon, or -1 when no icon can be had. An existing file or folder
    // is looked at on disk; any other name is judged by its extension alone. attributes is
    // kept for callers' symmetry and is always 0.
    int SystemIconIndex(const QString& path, int attributes = 0);
    // The same by the name's extension alone, remembered per extension: for long lists of
    // names that need not exist on disk.
    int IconIndexForName(const QString& fileName);
    QIcon icon(int index) const;

    // The one table of the process.
    static SystemIcons& shared();

private:
    int indexFor(const QString& key, const QIcon& icon);

    QMimeDatabase m_mime;
    QList<QString> m_keys;
    QList<QIcon> m_icons;
    QFileIconProvider* m_provider;
    QHash<QString, int> m_byExtension;
};
