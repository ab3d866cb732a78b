#include "gnutella/net/connection.h"

#include "gnutella/protocol/wire.h"

#include <QTcpSocket>

namespace gnutella {

namespace {

bool offersDeflate(const HandshakeBlock& block, const char* header)
{
    for (const QByteArray& item : block.header(header).split(','))
        if (item.trimmed().toLower() == "deflate")
            return true;
    return false;
}

QByteArray hostList(const QList<HostAddress>& hosts)
{
    QStringList texts;
    for (const HostAddress& host : hosts)
        texts << host.text();
    return texts.join(QLatin1Char(',')).toLatin1();
}

} // namespace

Connection::Connection(QTcpSocket* socket, Role role, Settings settings, QObject* parent)
    : QObject(parent), m_socket(socket), m_role(role), m_settings(std::move(settings)),
      m_state(role == Role::Initiator ? State::Connecting : State::AwaitingGroup1),
      m_framer(m_settings.maxPayload)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &Connection::readBytes);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] { close(); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] { close(); });
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] {
        if (m_socket->bytesToWrite() > m_settings.maxUnsentBytes)
            close();
    });
    m_handshakeTimer.setSingleShot(true);
    connect(&m_handshakeTimer, &QTimer::timeout, this, [this] { close(); });
    m_handshakeTimer.start(m_settings.handshakeMilliseconds);
    if (role == Role::Initiator) {
        if (m_socket->state() == QAbstractSocket::ConnectedState)
            QTimer::singleShot(0, this, &Connection::sendGroup1);
        else
            connect(m_socket, &QTcpSocket::connected, this, &Connection::sendGroup1);
    } else if (m_socket->bytesAvailable() > 0) {
        QTimer::singleShot(0, this, &Connection::readBytes);
    }
}

Connection::~Connection() = default;

bool Connection::peerIsUltrapeer() const
{
    return m_peer.header("X-Ultrapeer").trimmed().toLower() == "true";
}

HandshakeBlock Connection::ownHeaders(const QByteArray& startLine) const
{
    HandshakeBlock block;
    block.startLine = startLine;
    block.headers["User-Agent"] = m_settings.userAgent;
    block.headers["X-Ultrapeer"] = m_settings.ultrapeer ? "True" : "False";
    block.headers["X-Query-Routing"] = "0.1";
    if (m_settings.deflate)
        block.headers["Accept-Encoding"] = "deflate";
    block.headers["GGEP"] = "0.5";
    block.headers["Pong-Caching"] = "0.1";
    block.headers["Bye-Packet"] = "0.1";
    block.headers["Remote-IP"] = m_socket->peerAddress().toString().toLatin1();
    return block;
}

void Connection::sendGroup1()
{
    if (m_state != State::Connecting)
        return;
    m_state = State::AwaitingGroup2;
    write(ownHeaders("GNUTELLA CONNECT/0.6").encode());
}

void Connection::write(const QByteArray& bytes)
{
    if (m_state == State::Closed)
        return;
    m_socket->write(bytes);
    if (m_socket->bytesToWrite() > m_settings.maxUnsentBytes)
        close();
}

void Connection::readBytes()
{
    while (m_state != State::Closed && m_socket->bytesAvailable() > 0) {
        QByteArray pending = m_socket->read(64 * 1024);
        // Handshake groups first; whatever follows the last one is the message stream.
        while (!pending.isEmpty() && m_state != State::Established && m_state != State::Closed) {
            HandshakeBlock block;
            QByteArray rest;
            const HandshakeReader::Result result = m_reader.feed(pending, block, rest);
            pending.clear();
            if (result == HandshakeReader::Result::Broken) {
                close();
                return;
            }
            if (result == HandshakeReader::Result::Complete) {
                m_reader = HandshakeReader();
                handleGroup(block);
                pending = rest;
            }
        }
        if (m_state == State::Established && !pending.isEmpty())
            receiveMessages(pending);
    }
}

void Connection::handleGroup(const HandshakeBlock& block)
{
    switch (m_state) {
    case State::AwaitingGroup1: {
        if (block.startLine != "GNUTELLA CONNECT/0.6") {
            close();
            return;
        }
        m_peer = block;
        const bool accepted = !m_settings.accept || m_settings.accept(block);
        HandshakeBlock answer = ownHeaders(accepted ? "GNUTELLA/0.6 200 OK"
                                                    : "GNUTELLA/0.6 503 Service unavailable");
        if (m_settings.tryHosts)
            if (const QByteArray hosts = hostList(m_settings.tryHosts()); !hosts.isEmpty())
                answer.headers["X-Try-Ultrapeers"] = hosts;
        const bool compress = accepted && m_settings.deflate && offersDeflate(block, "Accept-Encoding");
        if (compress)
            answer.headers["Content-Encoding"] = "deflate";
        write(answer.encode());
        if (!accepted) {
            m_socket->flush();
            emit refused({});
            close();
            return;
        }
        m_state = State::AwaitingGroup3;
        m_deflater = compress ? std::make_unique<Deflater>() : nullptr;
        return;
    }
    case State::AwaitingGroup2: {
        m_peer = block;
        const QList<HostAddress> hosts = ParseTryHosts(block.header("X-Try-Ultrapeers") + "," +
                                                       block.header("X-Try"));
        // A leaf only joins an ultrapeer.
        if (block.statusCode() != 200 || (!m_settings.ultrapeer && !peerIsUltrapeer())) {
            if (block.statusCode() == 200)
                write("GNUTELLA/0.6 503 Need an Ultrapeer\r\n\r\n");
            emit refused(hosts);
            close();
            return;
        }
        const bool compress = m_settings.deflate && offersDeflate(block, "Accept-Encoding");
        HandshakeBlock answer;
        answer.startLine = "GNUTELLA/0.6 200 OK";
        if (compress)
            answer.headers["Content-Encoding"] = "deflate";
        write(answer.encode());
        establish(compress, offersDeflate(block, "Content-Encoding"));
        return;
    }
    case State::AwaitingGroup3:
        if (block.statusCode() != 200) {
            close();
            return;
        }
        establish(m_deflater != nullptr, offersDeflate(block, "Content-Encoding"));
        return;
    default:
        return;
    }
}

void Connection::establish(bool sendCompressed, bool receiveCompressed)
{
    m_handshakeTimer.stop();
    m_state = State::Established;
    if (sendCompressed && !m_deflater)
        m_deflater = std::make_unique<Deflater>();
    if (!sendCompressed)
        m_deflater.reset();
    if (receiveCompressed)
        m_inflater = std::make_unique<Inflater>();
    emit established();
}

void Connection::receiveMessages(const QByteArray& bytes)
{
    QByteArray plain;
    if (m_inflater) {
        if (!m_inflater->inflate(bytes, plain)) {
            close();
            return;
        }
    } else {
        plain = bytes;
    }
    m_framer.feed(plain);
    Message message;
    for (;;) {
        switch (m_framer.next(message)) {
        case MessageFramer::Result::NeedMore:
            return;
        case MessageFramer::Result::Broken:
            close();
            return;
        case MessageFramer::Result::Ready:
            emit messageReceived(message);
            if (m_state == State::Closed)
                return;
            break;
        }
    }
}

void Connection::send(const Message& message)
{
    if (m_state != State::Established)
        return;
    const QByteArray bytes = message.encode();
    write(m_deflater ? m_deflater->compress(bytes) : bytes);
}

void Connection::close(const QByteArray& reason)
{
    if (m_state == State::Closed)
        return;
    if (m_state == State::Established && !reason.isEmpty()) {
        // Bye: a code (200: no error) and the reason, TTL 1.
        QByteArray payload;
        putLittle16(payload, 200);
        payload += reason + '\0';
        send(Message{{NewGuid(), Bye, 1, 0, 0}, payload});
        m_socket->flush();
    }
    m_state = State::Closed;
    m_handshakeTimer.stop();
    m_socket->disconnectFromHost();
    emit closed();
}

} // namespace gnutella
