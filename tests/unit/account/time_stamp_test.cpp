#include "core/account/time_stamp.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now) : now_(now) {}
  LocalDateTime LocalNow() const override { return now_; }

 private:
  LocalDateTime now_;
};

struct StampCase {
  LocalDateTime local;
  const char* stamp;
};

// Seconds since the wall-clock moment 1970-01-01 08:00:00, then the three
// millisecond digits, cut or padded to 10 characters.
const StampCase kStampCases[] = {
    // Ten digits of seconds: the milliseconds are cut off.
    {{2026, 12, 11, 12, 0, 0, 123}, "1796961600"},
    {{2024, 2, 29, 8, 0, 0, 999}, "1709164800"},
    // Short seconds: milliseconds follow, padded on the left to 3 digits,
    // then the whole is padded on the right.
    {{1970, 1, 1, 8, 0, 5, 7}, "5007000000"},
    {{1970, 1, 1, 8, 0, 0, 0}, "0000000000"},
    {{1970, 1, 2, 8, 0, 0, 45}, "8640004500"},
    // Before the base moment the count is negative and keeps its sign.
    {{1970, 1, 1, 7, 59, 59, 500}, "-150000000"},
    // Eleven digits of seconds: cut to ten.
    {{2286, 11, 21, 1, 46, 40, 0}, "1000000000"},
};

TEST(UnixTimeText, FormatsTheWallClockReading) {
  for (const auto& c : kStampCases) {
    FixedClock clock(c.local);
    const Text stamp = UnixTimeText(clock);
    EXPECT_EQ(stamp, c.stamp) << c.local.year << "-" << c.local.month << "-" << c.local.day;
    EXPECT_EQ(stamp.size(), 10u);
  }
}

TEST(UnixTimeText, CountsLeapDaysOfTheGregorianCalendar) {
  // 1900 is no leap year, 2000 is: the day after February 28 differs.
  EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
}

struct DateCase {
  const char* headers;
  const char* stamp;  // nullptr: no stamp
};

// With nine digits of seconds the "000" milliseconds show in the stamp.
const DateCase kDateCases[] = {
    {"HTTP/1.1 200 OK\r\nServer: x\r\nDate: Fri, 11 Dec 2026 11:56:59 GMT\r\n\r\n", "1796990219"},
    {"Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n", "7841117770"},
    {"Date: Sunday, 06-Nov-94 08:49:37 GMT\r\n", "7841117770"},
    {"Date: Sun Nov  6 08:49:37 1994\r\n", "7841117770"},
    // No Date header, or one that is no date.
    {"HTTP/1.1 200 OK\r\nServer: x\r\n\r\n", nullptr},
    {"Date: tomorrow\r\n", nullptr},
    {"Date: Fri, 31 Feb 2026 11:56:59 GMT\r\n", nullptr},
    {"Date: Fri, 11 Dec 2026 25:56:59 GMT\r\n", nullptr},
    {"Date: Fri, 11 Dec 2026 11:56:59 GMT", nullptr},  // no line end
    {"", nullptr},
};

TEST(ServerClockTimeStamp, ReadsTheDateHeaderPlusEightHours) {
  for (const auto& c : kDateCases) {
    const auto stamp = ServerClockTimeStamp(c.headers);
    if (c.stamp == nullptr) {
      EXPECT_FALSE(stamp.has_value()) << c.headers;
    } else {
      ASSERT_TRUE(stamp.has_value()) << c.headers;
      EXPECT_EQ(*stamp, c.stamp) << c.headers;
    }
  }
}

}  // namespace
}  // namespace quillet
