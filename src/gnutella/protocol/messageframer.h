#pragma once

#include "gnutella/protocol/messageheader.h"

#include <QByteArray>

namespace gnutella {

// Cuts a connection's byte stream into messages. A read may hold part of a message or several;
// bytes are kept until a message is whole. A message whose payload is longer than the limit
// makes the stream broken: the connection is to be dropped.
class MessageFramer final {
public:
    static constexpr uint32_t DefaultMaxPayload = 64 * 1024;

    explicit MessageFramer(uint32_t maxPayload = DefaultMaxPayload) : m_maxPayload(maxPayload) {}

    void feed(const QByteArray& bytes);
    enum class Result { NeedMore, Ready, Broken };
    // Takes the next whole message into message.
    Result next(Message& message);
    qsizetype buffered() const { return m_buffer.size() - m_start; }

private:
    QByteArray m_buffer;
    qsizetype m_start = 0;
    uint32_t m_maxPayload;
    bool m_broken = false;
};

} // namespace gnutella
