#include "gnutella/protocol/sha1.h"

#include "gnutella/protocol/base32.h"

#include <QIODevice>
#include <openssl/evp.h>

namespace gnutella {

struct Sha1::Context {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(ctx); }
};

Sha1::Sha1() : m_context(std::make_unique<Context>())
{
    EVP_DigestInit_ex(m_context->ctx, EVP_sha1(), nullptr);
}

Sha1::Sha1(const Sha1& other) : m_context(std::make_unique<Context>())
{
    EVP_MD_CTX_copy_ex(m_context->ctx, other.m_context->ctx);
}

Sha1& Sha1::operator=(const Sha1& other)
{
    if (this != &other)
        EVP_MD_CTX_copy_ex(m_context->ctx, other.m_context->ctx);
    return *this;
}

Sha1::~Sha1() = default;

void Sha1::add(QByteArrayView bytes)
{
    EVP_DigestUpdate(m_context->ctx, bytes.data(), size_t(bytes.size()));
}

bool Sha1::addAll(QIODevice& device)
{
    QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = device.read(buffer.data(), buffer.size());
        if (got < 0)
            return false;
        if (got == 0)
            return device.atEnd();
        add(QByteArrayView(buffer.constData(), got));
    }
}

QByteArray Sha1::result() const
{
    // Finishing consumes a context, so a copy is finished.
    Sha1 copy(*this);
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    EVP_DigestFinal_ex(copy.m_context->ctx, reinterpret_cast<unsigned char*>(digest.data()), &length);
    digest.resize(length);
    return digest;
}

QByteArray Sha1::urn() const
{
    return "urn:sha1:" + Base32Encode(result());
}

QByteArray Sha1::of(QByteArrayView bytes)
{
    Sha1 hash;
    hash.add(bytes);
    return hash.result();
}

} // namespace gnutella
