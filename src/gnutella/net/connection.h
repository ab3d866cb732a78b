#pragma once

#include "gnutella/protocol/handshake.h"
#include "gnutella/protocol/linkcompression.h"
#include "gnutella/protocol/messageframer.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QTcpSocket;

namespace gnutella {

// One Gnutella 0.6 connection over TCP: the three-group handshake, deflated links in either
// direction when offered, and the message stream. The peer is never trusted: a handshake that
// breaks the limits or takes too long, a message over the size limit, corrupt compressed data,
// or a peer that does not read what is sent to it closes the connection.
class Connection final : public QObject {
    Q_OBJECT
public:
    enum class Role { Initiator, Acceptor };

    struct Settings {
        QByteArray userAgent = "Tavrin/1.0.0";
        bool ultrapeer = false;
        // The acceptor's decision on a peer's first group: accept it or not.
        std::function<bool(const HandshakeBlock& peer)> accept;
        // Hosts offered to a peer, for X-Try-Ultrapeers.
        std::function<QList<HostAddress>()> tryHosts;
        uint32_t maxPayload = MessageFramer::DefaultMaxPayload;
        // Offer and use deflated links (on by default; off speaks plainly, as older peers do).
        bool deflate = true;
        int handshakeMilliseconds = 15000;
        qint64 maxUnsentBytes = 1024 * 1024;
    };

    // Takes ownership of socket. An initiator's socket is connected or connecting.
    Connection(QTcpSocket* socket, Role role, Settings settings, QObject* parent = nullptr);
    ~Connection() override;

    void send(const Message& message);
    // Ends the connection; a connected peer is told why with a Bye first.
    void close(const QByteArray& reason = {});

    bool isEstablished() const { return m_state == State::Established; }
    bool peerIsUltrapeer() const;
    bool sendsCompressed() const { return m_deflater != nullptr; }
    bool receivesCompressed() const { return m_inflater != nullptr; }
    const HandshakeBlock& peerHeaders() const { return m_peer; }
    QTcpSocket* socket() const { return m_socket; }

signals:
    void established();
    // The peer refused us (or we refused it); hosts it suggested come with it.
    void refused(const QList<gnutella::HostAddress>& tryHosts);
    void messageReceived(const gnutella::Message& message);
    void closed();

private:
    enum class State { Connecting, AwaitingGroup1, AwaitingGroup2, AwaitingGroup3, Established, Closed };

    void sendGroup1();
    void readBytes();
    void handleGroup(const HandshakeBlock& block);
    void receiveMessages(const QByteArray& bytes);
    void write(const QByteArray& bytes);
    void establish(bool sendCompressed, bool receiveCompressed);
    HandshakeBlock ownHeaders(const QByteArray& startLine) const;

    QTcpSocket* m_socket;
    Role m_role;
    Settings m_settings;
    State m_state;
    HandshakeReader m_reader;
    HandshakeBlock m_peer;
    MessageFramer m_framer;
    std::unique_ptr<Deflater> m_deflater;
    std::unique_ptr<Inflater> m_inflater;
    QTimer m_handshakeTimer;
};

} // namespace gnutella
