// Published versions are compared as whole numbers: rounded to the nearest
// integer with halves going to the even one, and held in 16 bits.
#include "update/version.h"

#include <gtest/gtest.h>

using updatecheck::isNewer;
using updatecheck::VersionProblem;
using updatecheck::wholeVersion;

namespace {

int whole(const char* text) {
    const auto v = wholeVersion(QString::fromLatin1(text));
    EXPECT_EQ(v.problem, VersionProblem::None) << text;
    return v.value.value_or(-99999);
}

VersionProblem problem(const QString& text) {
    const auto v = wholeVersion(text);
    EXPECT_EQ(v.value.has_value(), v.problem == VersionProblem::None);
    return v.problem;
}

} // namespace

TEST(WholeVersion, RoundsToNearestWithHalvesToEven) {
    EXPECT_EQ(whole("3.00"), 3);
    EXPECT_EQ(whole("3.49"), 3);
    EXPECT_EQ(whole("3.50"), 4);
    EXPECT_EQ(whole("3.51"), 4);
    EXPECT_EQ(whole("4.00"), 4);
    EXPECT_EQ(whole("2.50"), 2);
    EXPECT_EQ(whole("2.5"), 2);
    EXPECT_EQ(whole("0.5"), 0);
    EXPECT_EQ(whole("1.5"), 2);
    EXPECT_EQ(whole("3.499999"), 3);
    // Just over a half goes up, however far down the extra digit sits.
    EXPECT_EQ(whole("2.50000000000000000000001"), 3);
    EXPECT_EQ(whole("2.5000000000000000000000"), 2);
    EXPECT_EQ(whole("7"), 7);
    EXPECT_EQ(whole("7."), 7);
    EXPECT_EQ(whole(".6"), 1);
    EXPECT_EQ(whole("0003.00"), 3);
}

TEST(WholeVersion, SignsAndSurroundingBlanks) {
    EXPECT_EQ(whole(" 3.00\r\n"), 3);
    EXPECT_EQ(whole("\t4.00\n"), 4);
    EXPECT_EQ(whole("+5"), 5);
    EXPECT_EQ(whole("-2.5"), -2);
    EXPECT_EQ(whole("-3.5"), -4);
    EXPECT_EQ(whole("-0.4"), 0);
}

TEST(WholeVersion, SixteenBitLimits) {
    EXPECT_EQ(whole("32767"), 32767);
    EXPECT_EQ(whole("32767.49"), 32767);
    EXPECT_EQ(whole("32766.5"), 32766);
    EXPECT_EQ(whole("-32768"), -32768);
    EXPECT_EQ(whole("-32768.5"), -32768);
    EXPECT_EQ(problem("32767.5"), VersionProblem::OutOfRange);
    EXPECT_EQ(problem("32768"), VersionProblem::OutOfRange);
    EXPECT_EQ(problem("-32769"), VersionProblem::OutOfRange);
    EXPECT_EQ(problem("65536"), VersionProblem::OutOfRange);
    EXPECT_EQ(problem("99999999999999999999999999999999.00"), VersionProblem::OutOfRange);
}

TEST(WholeVersion, TextThatIsNotANumber) {
    for (const char* text : {"", " ", "\r\n", "abc", "v3.00", "3.00a", "3..0", "3.0.1", ".", "+",
                             "-", "1e2", "3,00", "3 00", "0x10", "nan", "inf", "<html>"})
        EXPECT_EQ(problem(QString::fromLatin1(text)), VersionProblem::NotANumber) << text;
    EXPECT_EQ(problem(QString::fromUtf8("\xef\xbc\x93.00")), VersionProblem::NotANumber)
        << "a full-width digit is not a digit";
    const QChar junk[] = {QChar(0), QChar(1), QChar(0xfffd), QChar('3')};
    EXPECT_EQ(problem(QString(junk, 4)), VersionProblem::NotANumber);
}

TEST(WholeVersion, NewerOnlyWhenTheWholeNumberIsAbove) {
    const int running = whole(updatecheck::kRunningVersion);
    EXPECT_EQ(running, 3);
    EXPECT_FALSE(isNewer(running, whole("3.00")));
    EXPECT_FALSE(isNewer(running, whole("3.49")));
    EXPECT_TRUE(isNewer(running, whole("3.50")));
    EXPECT_TRUE(isNewer(running, whole("4.00")));
    EXPECT_FALSE(isNewer(running, whole("2.99")));
}
