#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh temporary folder for one test, removed with the object.
class TestFolder final {
public:
    TestFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    // Writes bytes to a file below the folder and returns its path.
    QString write(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};
