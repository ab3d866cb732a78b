#include "gnutella/protocol/sha1.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

using gnutella::Sha1;

TEST(Sha1, KnownDigests)
{
    EXPECT_EQ(Sha1::of("").toHex(), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Sha1::of("abc").toHex(), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1().urn(), "urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ");
}

TEST(Sha1, PiecesCopiesAndDevicesAgreeWithTheWhole)
{
    QByteArray data(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 + i / 1000);
    const QByteArray whole = Sha1::of(data);

    Sha1 pieces;
    pieces.add(QByteArrayView(data).first(1000));
    // A result midway does not end the hash, and a copy carries on from where it was made.
    EXPECT_EQ(pieces.result(), Sha1::of(QByteArrayView(data).first(1000)));
    Sha1 copy = pieces;
    pieces.add(QByteArrayView(data).sliced(1000));
    EXPECT_EQ(pieces.result(), whole);
    QBuffer device(&data);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    device.seek(1000);
    ASSERT_TRUE(copy.addAll(device));
    EXPECT_EQ(copy.result(), whole);
}

} // namespace
