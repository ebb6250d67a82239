// Version numbers compare part by part as whole numbers.
#include "update/version.h"

#include <gtest/gtest.h>

using updatecheck::readVersion;

namespace {

bool newer(const char* running, const char* published) {
    return updatecheck::isNewer(readVersion(QString::fromLatin1(running)),
                                readVersion(QString::fromLatin1(published)));
}

} // namespace

TEST(VersionNumber, ComparedPartByPart) {
    EXPECT_TRUE(newer("3.00", "3.10"));
    EXPECT_TRUE(newer("3.9", "3.10"));
    EXPECT_TRUE(newer("3.00", "3.0.1"));
    EXPECT_TRUE(newer("3.00", "4"));
    EXPECT_TRUE(newer("3.00", "3.00000000000000000000001"));
    EXPECT_FALSE(newer("3.10", "3.9"));
    EXPECT_FALSE(newer("3.00", "3"));
    EXPECT_FALSE(newer("3.00", "003.0"));
    EXPECT_FALSE(newer("3.00", "2.99"));
}

TEST(VersionNumber, TextThatIsNoVersion) {
    EXPECT_TRUE(readVersion(u" 3.10\r\n").valid);
    for (const char16_t* junk : {u"", u"three", u"3.", u".3", u"3..1", u"-3.00", u"3.0a", u"3 .1"})
        EXPECT_FALSE(readVersion(junk).valid) << QString::fromUtf16(junk).toStdString();
}
