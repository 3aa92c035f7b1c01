#include "stores/date_time.h"

#include <gtest/gtest.h>
#include <time.h>

#include <climits>
#include <string>

#include "stores/formated_line.h"
#include "tests/test_support.h"

namespace {

#ifdef _WIN32
// The Windows runtime's names for the same calls.
time_t timegm(struct tm* parts) { return _mkgmtime(parts); }
struct tm* gmtime_r(const time_t* when, struct tm* out) {
  struct tm* utc = gmtime(when);
  *out = utc != nullptr ? *utc : tm{};
  return utc != nullptr ? out : nullptr;
}
#endif

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

TEST(DateTimeTest, StoredFormAndMonthNames) {
  ScopedTempDir temp;
  std::string path = temp.at("when.sav");
  // Monday 24 March 2003, 07:05:09: day, weekday, month, the year as 4
  // bytes little-endian, then hour, minute, second.
  const std::string stored("\x18\x01\x03\xD3\x07\x00\x00\x07\x05\x09", 10);
  {
    XFile out;
    out.openReplacing(path.c_str(), false);
    writeDateTime(out, DateTime{{24, 3, 1, 2003}, {9, 5, 7}});
    ASSERT_TRUE(out.commit());
  }
  EXPECT_EQ(readFile(path), stored);
  XFile in(path.c_str(), "rb", false);
  DateTime back;
  readDateTime(in, back);
  EXPECT_TRUE(!in.failed() && in.bytesLeft() == 0);
  EXPECT_EQ(back.date.day, 24);
  EXPECT_EQ(back.date.weekday, 1);
  EXPECT_EQ(back.date.month, 3);
  EXPECT_EQ(back.date.year, 2003);
  EXPECT_EQ(back.time.hour, 7);
  EXPECT_EQ(back.time.minute, 5);
  EXPECT_EQ(back.time.second, 9);

  // A cut-off record keeps what it could not read and marks the file.
  writeFile(path, stored.substr(0, 9));
  XFile cut(path.c_str(), "rb", false);
  Date date;
  Time time{42, 0, 0};
  readDate(cut, date);
  readTime(cut, time);
  EXPECT_EQ(date.year, 2003);
  EXPECT_TRUE(cut.failed());
  EXPECT_EQ(time.second, 42);

  EXPECT_STREQ(monthName(5), "may");
  EXPECT_STREQ(monthName(12), "december");
  EXPECT_STREQ(shortMonthName(6), "jun");
  for (int month : {0, 13, 255, -1}) {
    EXPECT_STREQ(monthName(month), "") << month;
    EXPECT_STREQ(shortMonthName(month), "") << month;
  }
}

TEST(DateTimeTest, ClockAndTemplateKeys) {
  DateTime now;
  {
    testing_support::PinnedClock pinned(2001, 2, 3, 6, 23, 59, 1);
    now.setNow();
  }
  EXPECT_EQ(now.date.weekday, 6);

  auto render = [](const DateTime& when) {
    XFormatedLine line(XString("%d.%o.%y %Y %O %p %h:%m:%s"));
    addDateTimeKeys(line.keys, when);
    return line.render().str();
  };
  EXPECT_EQ(render(now), "03.02.01 2001 feb february 23:59:01");
  // Values no clock gives, as a damaged store may hold them.
  EXPECT_EQ(render(DateTime{{255, 0, 9, 5}, {0, 0, 99}}), "255.00.05 0005   99:00:00");
  EXPECT_EQ(render(DateTime{{1, 13, 0, -1999}, {}}), "01.13.99 -1999   00:00:00");
}

Date dateOf(time_t t) {
  struct tm parts;
  gmtime_r(&t, &parts);
  return Date{static_cast<uint8_t>(parts.tm_mday), static_cast<uint8_t>(parts.tm_mon + 1),
              static_cast<uint8_t>(parts.tm_wday), parts.tm_year + 1900};
}

TEST(DateTimeTest, StepBackOneDayFollowsTheCalendar) {
  // Every day from 1901 to 2199 against the C library's calendar, 2100's
  // missing leap day included.
  struct tm first = {};
  first.tm_year = 1;
  first.tm_mday = 1;
  struct tm last = {};
  last.tm_year = 299;
  last.tm_mon = 11;
  last.tm_mday = 31;
  const time_t end = timegm(&last);
  Date before = dateOf(timegm(&first));
  int days = 0;
  for (time_t t = timegm(&first) + 86400; t <= end; t += 86400, ++days) {
    const Date day = dateOf(t);
    Date back = day;
    back.stepBackOneDay();
    ASSERT_TRUE(back.day == before.day && back.month == before.month &&
                back.weekday == before.weekday && back.year == before.year)
        << day.year << "-" << int{day.month} << "-" << int{day.day};
    before = day;
  }
  EXPECT_EQ(days, 109207);

  EXPECT_EQ(daysInMonth(2, 1900), 28);
  EXPECT_EQ(daysInMonth(2, 2000), 29);
  EXPECT_EQ(daysInMonth(2, 2004), 29);
  EXPECT_EQ(daysInMonth(2, 2100), 28);
  EXPECT_EQ(daysInMonth(0, 2000), 0);
  EXPECT_EQ(daysInMonth(13, 2000), 0);
  // A record no clock gives steps back without harm.
  Date odd{0, 0, 9, INT32_MIN};
  odd.stepBackOneDay();
  EXPECT_TRUE(odd.day == 31 && odd.month == 12 && odd.weekday == 6 && odd.year == INT32_MIN);

  EXPECT_TRUE(Date::sameDay(Date{31, 12, 6, 2005}, Date{31, 12, 0, 2005}));
  EXPECT_FALSE(Date::sameDay(Date{31, 12, 6, 2005}, Date{31, 12, 0, 2006}));
  EXPECT_FALSE(Date::sameDay(Date{30, 12, 6, 2005}, Date{31, 12, 6, 2005}));
  EXPECT_FALSE(Date::sameDay(Date{31, 11, 6, 2005}, Date{31, 12, 6, 2005}));
}

}  // namespace
