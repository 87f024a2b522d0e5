#include "util/DateTime.h"
#include "base/Error.h"

#include <gtest/gtest.h>

using namespace tarvin;

TEST(DateTime, EncodesDaysSince1899) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1970, 1, 1, 0, 0, 0), kUnixEpochDays);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
    EXPECT_NEAR(EncodeDateTime(2003, 12, 31, 23, 59, 59), 37986.999988, 1e-6);
}

TEST(DateTime, RejectsInvalidDates) {
    EXPECT_THROW(EncodeDateTime(2003, 2, 30, 0, 0, 0), ConvertError);
    EXPECT_THROW(EncodeDateTime(2003, 1, 1, 24, 0, 0), ConvertError);
    EXPECT_THROW(EncodeDateTime(0, 1, 1, 0, 0, 0), ConvertError);
}

TEST(DateTime, DecodeRoundTripsToTheMillisecond) {
    TDateTime v = EncodeDateTime(2024, 2, 29, 13, 14, 15, 678);
    DateTimeParts p = DecodeDateTime(v);
    EXPECT_EQ(p.year, 2024);
    EXPECT_EQ(p.month, 2);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 13);
    EXPECT_EQ(p.minute, 14);
    EXPECT_EQ(p.second, 15);
    EXPECT_EQ(p.msec, 678);
    DateTimeParts before = DecodeDateTime(-1.25);
    EXPECT_EQ(before.day, 29);
    EXPECT_EQ(before.hour, 6);
}

TEST(DateTime, UnixMillisecondsTakeTheValueAsUtc) {
    TDateTime v = EncodeDateTime(2001, 9, 9, 1, 46, 40);
    EXPECT_EQ(DateTimeToUnixMSecs(v), 1000000000000LL);
    EXPECT_DOUBLE_EQ(UnixMSecsToDateTime(1000000000000LL), v);
    EXPECT_EQ(DateTimeToUnixMSecs(EncodeDateTime(1969, 12, 31, 23, 0, 0)), -3600000LL);
}

TEST(DateTime, DisplayLeavesOutMidnight) {
    TDateTime midnight = EncodeDateTime(2020, 5, 6, 0, 0, 0);
    EXPECT_EQ(FormatDisplayDateTime(midnight), FormatShortDate(midnight));
    TDateTime noon = EncodeDateTime(2020, 5, 6, 12, 0, 0);
    EXPECT_EQ(FormatDisplayDateTime(noon), FormatShortDate(noon) + " " + FormatLongTime(noon));
    EXPECT_FALSE(LongTimeFormat().contains('t'));
}
