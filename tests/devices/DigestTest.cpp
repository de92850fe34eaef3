#include "devices/Digest.h"

#include <gtest/gtest.h>

TEST(Digest, MD5FromStringGivesTheHexDigestOfTheUtf8Text) {
    const kvo::Digest digest;
    EXPECT_EQ(digest.MD5FromString(QStringLiteral("abc")), u"900150983cd24fb0d6963f7d28e17f72");
    // "é" hashed as UTF-8 (c3 a9), not as Latin-1 (e9, 3406877694691ddd1dfb0aca54681407).
    EXPECT_EQ(digest.MD5FromString(QStringLiteral("é")), u"66ddcd97cfdeabb2f6fb8a999b4bc76f");
}
