#include "jsonline.h"

#include <cmath>

namespace {

QByteArray quoted(const QString& text)
{
    QByteArray out("\"");
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20)
                out += "\\u00" + QByteArray::number(byte, 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    return out + "\"";
}

} // namespace

JsonLine& JsonLine::raw(const char* key, const QByteArray& json)
{
    if (!m_body.isEmpty())
        m_body += ',';
    m_body += quoted(QString::fromLatin1(key)) + ':' + json;
    return *this;
}

JsonLine& JsonLine::add(const char* key, const QString& value)
{
    return raw(key, quoted(value));
}

JsonLine& JsonLine::add(const char* key, const char* value)
{
    return raw(key, quoted(QString::fromUtf8(value)));
}

JsonLine& JsonLine::add(const char* key, bool value)
{
    return raw(key, value ? "true" : "false");
}

JsonLine& JsonLine::add(const char* key, long long value)
{
    return raw(key, QByteArray::number(value));
}

JsonLine& JsonLine::add(const char* key, double value)
{
    return raw(key, std::isfinite(value) ? QByteArray::number(value, 'g', 15) : "null");
}

JsonLine& JsonLine::add(const char* key, const JsonLine& object)
{
    return raw(key, object.text());
}
