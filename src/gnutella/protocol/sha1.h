#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

class QIODevice;

namespace gnutella {

// SHA-1 that can be fed piece by piece and copied midway, so a file's hash can grow with the file
// and be finished elsewhere.
class Sha1 {
public:
    Sha1();
    Sha1(const Sha1& other);
    Sha1& operator=(const Sha1& other);
    ~Sha1();

    void add(QByteArrayView bytes);
    // Everything the device has left to read; false when reading failed.
    bool addAll(QIODevice& device);
    // The 20-byte digest of what was added so far; more may still be added afterwards.
    QByteArray result() const;

    // "urn:sha1:" and the base32 of the digest.
    QByteArray urn() const;

    static QByteArray of(QByteArrayView bytes);

private:
    struct Context;
    std::unique_ptr<Context> m_context;
};

} // namespace gnutella
