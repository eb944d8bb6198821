#include "common/text_format.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/rounding.h"

namespace tarn {
namespace {

TEST(SizeText, BytesBelowOneKilobyte) {
    EXPECT_EQ(sizeText(0), "0 byte");
    EXPECT_EQ(sizeText(1), "1 byte");
    EXPECT_EQ(sizeText(2), "2 bytes");
    EXPECT_EQ(sizeText(1023), "1023 bytes");
}

TEST(SizeText, PowersOf1024WithTwoDecimals) {
    EXPECT_EQ(sizeText(1024), "1.00 KB");
    EXPECT_EQ(sizeText(1536), "1.50 KB");
    EXPECT_EQ(sizeText(1048575), "1024.00 KB");
    EXPECT_EQ(sizeText(1048576), "1.00 MB");
    EXPECT_EQ(sizeText(1073741824), "1.00 GB");
    EXPECT_EQ(sizeText(5ULL * 1073741824 + 536870912), "5.50 GB");
    EXPECT_EQ(sizeText(0xFFFFFFFFFFFFFFFFULL), "17179869184.00 GB");
}

TEST(SizeText, ExactTiesRoundUp) {
    // 1152 bytes are exactly 1.125 KB: half up gives 1.13, not the 1.12 of ties-to-even.
    EXPECT_EQ(sizeText(1152), "1.13 KB");
    // 1.005 KB is not a tie in binary (slightly below), so it stays 1.00.
    EXPECT_EQ(sizeText(1029), "1.00 KB");
}

TEST(DateText, LocalTimeInIsoOrder) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(dateTimeText(0), "1970-01-01 00:00:00");
    EXPECT_EQ(dateTimeText(1796688000), "2026-12-08 00:00:00");
    setenv("TZ", "CET-1", 1);  // POSIX form: needs no time-zone database
    tzset();
    EXPECT_EQ(dateTimeText(1796688000), "2026-12-08 01:00:00");
    unsetenv("TZ");
    tzset();
}

TEST(Rounding, HalvesAwayFromZero) {
    EXPECT_EQ(roundHalfAwayFromZero(0.5), 1);
    EXPECT_EQ(roundHalfAwayFromZero(1.5), 2);
    EXPECT_EQ(roundHalfAwayFromZero(2.5), 3);
    EXPECT_EQ(roundHalfAwayFromZero(-0.5), -1);
    EXPECT_EQ(roundHalfAwayFromZero(-2.5), -3);
    EXPECT_EQ(roundToInt(2.4999), 2);
    EXPECT_EQ(roundToInt(-2.4999), -2);
}

}  // namespace
}  // namespace tarn
