#include "gnutella/protocol/linkcompression.h"

#include <zlib.h>

namespace gnutella {

struct Deflater::State {
    z_stream stream{};
};

Deflater::Deflater() : m_state(std::make_unique<State>())
{
    deflateInit(&m_state->stream, Z_DEFAULT_COMPRESSION);
}

Deflater::~Deflater()
{
    deflateEnd(&m_state->stream);
}

QByteArray Deflater::compress(const QByteArray& bytes)
{
    z_stream& s = m_state->stream;
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    s.avail_in = uInt(bytes.size());
    QByteArray out;
    char chunk[8192];
    do {
        s.next_out = reinterpret_cast<Bytef*>(chunk);
        s.avail_out = sizeof chunk;
        deflate(&s, Z_SYNC_FLUSH);
        out.append(chunk, qsizetype(sizeof chunk - s.avail_out));
    } while (s.avail_out == 0);
    return out;
}

struct Inflater::State {
    z_stream stream{};
    bool started = false;
    bool raw = false;
    QByteArray pending; // bytes seen before the stream kind was known
};

Inflater::Inflater() : m_state(std::make_unique<State>()) {}

Inflater::~Inflater()
{
    if (m_state->started)
        inflateEnd(&m_state->stream);
}

bool Inflater::inflate(const QByteArray& bytes, QByteArray& out)
{
    if (m_broken)
        return false;
    State& st = *m_state;
    QByteArray input = bytes;
    if (!st.started) {
        st.pending += bytes;
        if (st.pending.size() < 2)
            return true;
        // A zlib stream opens with a header whose first two bytes are a multiple of 31.
        const auto a = static_cast<unsigned char>(st.pending[0]);
        const auto b = static_cast<unsigned char>(st.pending[1]);
        st.raw = (a & 0x0F) != 8 || ((a << 8) | b) % 31 != 0;
        if (inflateInit2(&st.stream, st.raw ? -15 : 15) != Z_OK)
            return !(m_broken = true);
        st.started = true;
        input = st.pending;
        st.pending.clear();
    }
    z_stream& s = st.stream;
    s.next_in = reinterpret_cast<Bytef*>(input.data());
    s.avail_in = uInt(input.size());
    char chunk[16384];
    qsizetype produced = 0;
    while (s.avail_in > 0) {
        s.next_out = reinterpret_cast<Bytef*>(chunk);
        s.avail_out = sizeof chunk;
        const int status = ::inflate(&s, Z_SYNC_FLUSH);
        const qsizetype got = qsizetype(sizeof chunk - s.avail_out);
        out.append(chunk, got);
        produced += got;
        if (produced > MaxOutputPerFeed || (status != Z_OK && status != Z_BUF_ERROR) ||
            (status == Z_BUF_ERROR && got == 0 && s.avail_in > 0))
            return !(m_broken = true);
    }
    return true;
}

} // namespace gnutella
