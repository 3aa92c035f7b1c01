#include "platform/clock.h"

#include <gtest/gtest.h>
#include <time.h>

namespace {

#ifdef _WIN32
// The Windows runtime's localtime keeps its result per thread.
struct tm* localtime_r(const time_t* when, struct tm* out) {
  struct tm* local = localtime(when);
  *out = local != nullptr ? *local : tm{};
  return local != nullptr ? out : nullptr;
}
#endif

TEST(Clock, LocalNowAndPinning) {
  time_t before = time(nullptr);
  platform::LocalTime now = platform::localNow();
  time_t after = time(nullptr);
  struct tm a, b;
  localtime_r(&before, &a);
  localtime_r(&after, &b);
  // Between the two readings (unless a field rolled over in between).
  EXPECT_TRUE(now.year == a.tm_year + 1900 || now.year == b.tm_year + 1900);
  EXPECT_TRUE(now.month == a.tm_mon + 1 || now.month == b.tm_mon + 1);
  EXPECT_TRUE(now.day == a.tm_mday || now.day == b.tm_mday);
  EXPECT_TRUE(now.weekday == a.tm_wday || now.weekday == b.tm_wday);
  EXPECT_TRUE(now.hour == a.tm_hour || now.hour == b.tm_hour);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);

  platform::LocalTime pinned;
  pinned.year = 2003;
  pinned.month = 3;
  pinned.day = 24;
  pinned.weekday = 1;
  pinned.hour = 7;
  pinned.minute = 5;
  pinned.second = 9;
  platform::pinLocalNow(&pinned);
  platform::LocalTime got = platform::localNow();
  platform::pinLocalNow(nullptr);
  EXPECT_EQ(got.year, 2003);
  EXPECT_EQ(got.month, 3);
  EXPECT_EQ(got.day, 24);
  EXPECT_EQ(got.weekday, 1);
  EXPECT_EQ(got.hour, 7);
  EXPECT_EQ(got.minute, 5);
  EXPECT_EQ(got.second, 9);
  EXPECT_NE(platform::localNow().year, 2003);
}

}  // namespace
