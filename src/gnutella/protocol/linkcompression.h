#pragma once

#include <QByteArray>
#include <memory>

namespace gnutella {

// One direction of a deflated link: a single zlib stream for the life of the connection,
// flushed after every batch so that no message waits in the compressor.
class Deflater final {
public:
    Deflater();
    ~Deflater();
    QByteArray compress(const QByteArray& bytes);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The receiving side. Accepts zlib or raw deflate data (as peers differ); one feed may produce
// at most MaxOutputPerFeed bytes, so a small packet cannot blow up into a flood: beyond it, or
// on corrupt data, the link is broken.
class Inflater final {
public:
    static constexpr qsizetype MaxOutputPerFeed = 1024 * 1024;

    Inflater();
    ~Inflater();
    // Appends the inflated bytes to out; false when the link is broken.
    bool inflate(const QByteArray& bytes, QByteArray& out);

private:
    struct State;
    std::unique_ptr<State> m_state;
    bool m_broken = false;
};

} // namespace gnutella
