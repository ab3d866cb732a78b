#include "gnutella/protocol/handshake.h"

#include <QHostAddress>

namespace gnutella {

int StatusCodeOf(const QByteArray& line, const QByteArray& protocol)
{
    const QList<QByteArray> words = line.split(' ');
    if (words.size() < 2 || !words[0].startsWith(protocol))
        return 0;
    bool ok = false;
    const int code = words[1].toInt(&ok);
    return ok ? code : 0;
}

QByteArray HandshakeBlock::encode() const
{
    QByteArray out = startLine + "\r\n";
    for (auto it = headers.cbegin(); it != headers.cend(); ++it)
        out += it.key() + ": " + it.value() + "\r\n";
    return out + "\r\n";
}

HandshakeReader::Result HandshakeReader::feed(const QByteArray& bytes, HandshakeBlock& block,
                                              QByteArray& rest)
{
    if (m_broken)
        return Result::Broken;
    m_buffer += bytes;
    qsizetype end = m_buffer.indexOf("\r\n\r\n");
    qsizetype breakLength = 4;
    const qsizetype bare = m_buffer.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end)) {
        end = bare;
        breakLength = 2;
    }
    if (end < 0) {
        if (m_buffer.size() > m_limits.bytes)
            m_broken = true;
        return m_broken ? Result::Broken : Result::NeedMore;
    }
    if (end > m_limits.bytes) {
        m_broken = true;
        return Result::Broken;
    }
    const QByteArray head = m_buffer.left(end);
    rest = m_buffer.mid(end + breakLength);
    m_buffer.clear();
    QList<QByteArray> lines = head.split('\n');
    if (lines.size() > m_limits.lines) {
        m_broken = true;
        return Result::Broken;
    }
    block = HandshakeBlock{};
    QByteArray lastName;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > m_limits.lineBytes || line.contains('\0')) {
            m_broken = true;
            return Result::Broken;
        }
        if (i == 0) {
            block.startLine = line.trimmed();
            continue;
        }
        if ((line.startsWith(' ') || line.startsWith('\t')) && !lastName.isEmpty()) {
            block.headers[lastName] += ' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue; // not a header: ignored
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        QByteArray& stored = block.headers[name];
        stored = stored.isEmpty() ? value : stored + ',' + value;
        lastName = name;
    }
    return Result::Complete;
}

QString HostAddress::text() const
{
    return QStringLiteral("%1.%2.%3.%4:%5")
        .arg(ip >> 24)
        .arg((ip >> 16) & 0xFF)
        .arg((ip >> 8) & 0xFF)
        .arg(ip & 0xFF)
        .arg(port);
}

std::optional<HostAddress> ParseHostAddress(const QByteArray& text)
{
    const QByteArray trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(':');
    const QByteArray ipText = colon < 0 ? trimmed : trimmed.left(colon);
    QHostAddress address;
    if (!address.setAddress(QString::fromLatin1(ipText)) ||
        address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    HostAddress host;
    host.ip = address.toIPv4Address();
    if (colon >= 0) {
        bool ok = false;
        const uint port = trimmed.mid(colon + 1).toUInt(&ok);
        if (!ok || port == 0 || port > 65535)
            return std::nullopt;
        host.port = uint16_t(port);
    }
    return host;
}

QList<HostAddress> ParseTryHosts(const QByteArray& value, int limit)
{
    QList<HostAddress> hosts;
    for (const QByteArray& entry : value.split(',')) {
        if (hosts.size() >= limit)
            break;
        // A timestamp may follow the address after a blank.
        const QByteArray address = entry.trimmed().split(' ').value(0);
        if (const auto host = ParseHostAddress(address))
            hosts << *host;
    }
    return hosts;
}

} // namespace gnutella
