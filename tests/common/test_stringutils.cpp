#include "common/stringutils.h"

#include <gtest/gtest.h>

namespace {

TEST(GetToken, FieldsByIndex)
{
    struct Case {
        const char* text;
        const char* separator;
        int index;
        const char* expected;
    };
    const Case cases[] = {
        {"12 kbps", " ", 2, "kbps"},
        {"12 kbps", " ", 1, "12"},
        {"a-b", "-", 3, ""},
        {"abc", "-", 1, "abc"},
        {"abc", "-", 2, ""},
        {"a--b", "-", 2, ""},
        {"a--b", "-", 3, "b"},
        {"Artist - Title", " - ", 2, "Title"},
        {"", "-", 1, ""},
        {"abc", "", 1, ""},
        {"abc", "-", 0, ""},
        {"abc", "-", -1, ""},
        {"a-", "-", 2, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TStringUtils::GetToken(QString::fromLatin1(c.text),
                                         QString::fromLatin1(c.separator), c.index),
                  QString::fromLatin1(c.expected))
            << c.text << " / " << c.separator << " / " << c.index;
}

} // namespace
