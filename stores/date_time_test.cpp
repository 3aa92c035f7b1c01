#include "stores/date_time.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

#include "foundation/formated_line.h"
#include "tests/test_support.h"

namespace {

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

// The civil date of a day counted from 1 January 1970, by the well-known
// era arithmetic of the proleptic Gregorian calendar, independent of the
// code under test and of the C library (Windows' has no day before 1970).
Date dateOfDay(long long days) {
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shifted = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  const long long month = shifted < 10 ? shifted + 3 : shifted - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  const long long weekday = ((days % 7) + 7 + 4) % 7;  // 1 January 1970 was a Thursday
  return Date{static_cast<uint8_t>(day), static_cast<uint8_t>(month), static_cast<uint8_t>(weekday),
              static_cast<int32_t>(year)};
}

TEST(DateTimeTest, StepBackOneDayFollowsTheCalendar) {
  // Every day from 1901 to 2199, 2100's missing leap day included.
  const long long first = -25202;  // 1 January 1901
  const long long last = 84005;    // 31 December 2199
  Date before = dateOfDay(first);
  ASSERT_TRUE(before.day == 1 && before.month == 1 && before.weekday == 2 && before.year == 1901);
  const Date end = dateOfDay(last);
  ASSERT_TRUE(end.day == 31 && end.month == 12 && end.weekday == 2 && end.year == 2199);
  int days = 0;
  for (long long n = first + 1; n <= last; ++n, ++days) {
    const Date day = dateOfDay(n);
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
