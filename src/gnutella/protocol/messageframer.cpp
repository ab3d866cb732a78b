#include "gnutella/protocol/messageframer.h"

namespace gnutella {

void MessageFramer::feed(const QByteArray& bytes)
{
    if (m_broken)
        return;
    // Consumed bytes are dropped before the buffer grows, so it never holds more than one
    // message and one read.
    if (m_start > 0) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes);
}

MessageFramer::Result MessageFramer::next(Message& message)
{
    if (m_broken)
        return Result::Broken;
    const qsizetype available = m_buffer.size() - m_start;
    const auto header = MessageHeader::decode(m_buffer.constData() + m_start, available);
    if (!header)
        return Result::NeedMore;
    if (header->length > m_maxPayload) {
        m_broken = true;
        m_buffer.clear();
        m_start = 0;
        return Result::Broken;
    }
    if (available < MessageHeader::Size + qsizetype(header->length))
        return Result::NeedMore;
    message.header = *header;
    message.payload = m_buffer.mid(m_start + MessageHeader::Size, header->length);
    m_start += MessageHeader::Size + header->length;
    return Result::Ready;
}

} // namespace gnutella
