#pragma once

#include <QByteArray>
#include <QString>

// Writes one JSON object on one line, keys in the order they are added.
class JsonLine final {
public:
    JsonLine& add(const char* key, const QString& value);
    JsonLine& add(const char* key, const char* value);
    JsonLine& add(const char* key, bool value);
    JsonLine& add(const char* key, long long value);
    JsonLine& add(const char* key, int value) { return add(key, static_cast<long long>(value)); }
    JsonLine& add(const char* key, double value);
    JsonLine& add(const char* key, const JsonLine& object);

    QByteArray text() const { return "{" + m_body + "}"; }

private:
    JsonLine& raw(const char* key, const QByteArray& json);
    QByteArray m_body;
};
