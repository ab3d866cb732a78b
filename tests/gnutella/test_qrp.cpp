#include "gnutella/protocol/qrp.h"

#include <gtest/gtest.h>

namespace {

using namespace gnutella;

TEST(Qrp, HashVectors)
{
    const std::tuple<const char*, int, uint32_t> cases[] = {
        {"", 13, 0},          {"eb", 13, 6791},      {"ebcklmenq", 13, 3527}, {"n", 16, 65003},
        {"ndflaleme", 16, 45559}, {"ol2j34lj", 10, 318}, {"3nja9", 10, 581},   {"zzzzzzzzzzz", 10, 944},
        {"love", 16, 16383},  {"yesterday", 16, 47021}, {"yester", 16, 43988}};
    for (const auto& [word, bits, hash] : cases)
        EXPECT_EQ(QrpHash(QByteArray(word), bits), hash) << word;
}

TEST(Qrp, KeywordsAndTablesTravel)
{
    EXPECT_EQ(QrpKeywords(QStringLiteral("Beatles - Yesterday")),
              (QStringList{"beatles", "beatle", "beatl", "beat", "yesterday", "yesterda", "yesterd",
                           "yester"}));
    QueryRouteTable leaf;
    leaf.addKeywords(QStringLiteral("Beatles - Yesterday"));
    leaf.addUrn("urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ");
    const QList<Message> messages = leaf.messages();
    ASSERT_GE(messages.size(), 2);
    EXPECT_EQ(messages[0].payload, QByteArray::fromHex("000000010007")) << "RESET of 65536 slots";

    QueryRouteTable seen;
    EXPECT_FALSE(seen.mayMatch(QStringLiteral("beatles"), {}));
    for (const Message& m : messages)
        ASSERT_TRUE(seen.apply(m.payload));
    EXPECT_TRUE(seen.mayMatch(QStringLiteral("Beatles yesterday"), {}));
    EXPECT_TRUE(seen.mayMatch(QStringLiteral("beatles"), {}));
    EXPECT_FALSE(seen.mayMatch(QStringLiteral("beatles help"), {}));
    EXPECT_FALSE(seen.mayMatch(QStringLiteral("a b"), {})) << "no word long enough";
    EXPECT_TRUE(seen.mayMatch(QString(), {"urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ"}));
}

TEST(Qrp, MalformedMessagesAreRefused)
{
    QueryRouteTable table;
    EXPECT_FALSE(table.apply(QByteArray::fromHex("0100010104"))) << "patch before reset";
    EXPECT_FALSE(table.apply(QByteArray::fromHex("00ffffff0007"))) << "not a power of two";
    EXPECT_FALSE(table.apply(QByteArray::fromHex("0000000010" "07"))) << "too large";
    EXPECT_FALSE(table.apply(QByteArray::fromHex("000100000007"))) << "a table of one slot";
    ASSERT_TRUE(table.apply(QByteArray::fromHex("000001000007")));
    EXPECT_FALSE(table.apply(QByteArray::fromHex("0102020104"))) << "sequence out of order";
    // A compressed patch that inflates beyond the table.
    QueryRouteTable big(1u << 17);
    QList<Message> messages = big.messages();
    ASSERT_TRUE(table.apply(QByteArray::fromHex("000001000007")));
    bool refused = false;
    for (int i = 1; i < messages.size(); ++i)
        refused = refused || !table.apply(messages[i].payload);
    EXPECT_TRUE(refused);
}

} // namespace
