#include "stores/date_time.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "stores/formated_line.h"
#include "tests/test_support.h"

namespace {

using testing_support::readFile;
using testing_support::ScopedTempDir;
using testing_support::writeFile;

DateTime makeDateTime(int year, int month, int day, int weekday, int hour, int minute, int second) {
  DateTime when;
  when.date.year = year;
  when.date.month = static_cast<uint8_t>(month);
  when.date.day = static_cast<uint8_t>(day);
  when.date.weekday = static_cast<uint8_t>(weekday);
  when.time.hour = static_cast<uint8_t>(hour);
  when.time.minute = static_cast<uint8_t>(minute);
  when.time.second = static_cast<uint8_t>(second);
  return when;
}

// Monday 24 March 2003, 07:05:09: day, weekday, month, the year as 4 bytes
// little-endian, then hour, minute, second.
const std::string kStoredMonday("\x18\x01\x03\xD3\x07\x00\x00\x07\x05\x09", 10);

TEST(DateTimeTest, StoredFormIsByteExactAndReadsBack) {
  ScopedTempDir temp;
  std::string path = temp.at("when.sav");
  {
    XFile out;
    out.openReplacing(path.c_str(), false);
    writeDateTime(out, makeDateTime(2003, 3, 24, 1, 7, 5, 9));
    ASSERT_TRUE(out.commit());
  }
  EXPECT_EQ(readFile(path), kStoredMonday);

  XFile in(path.c_str(), "rb", false);
  DateTime back;
  readDateTime(in, back);
  EXPECT_FALSE(in.failed());
  EXPECT_EQ(in.bytesLeft(), 0u);
  EXPECT_EQ(back.date.day, 24);
  EXPECT_EQ(back.date.weekday, 1);
  EXPECT_EQ(back.date.month, 3);
  EXPECT_EQ(back.date.year, 2003);
  EXPECT_EQ(back.time.hour, 7);
  EXPECT_EQ(back.time.minute, 5);
  EXPECT_EQ(back.time.second, 9);

  // A date alone is the first seven bytes; a cut-off record keeps what it
  // could not read and marks the file.
  writeFile(path, kStoredMonday.substr(0, 9));
  XFile cut(path.c_str(), "rb", false);
  Date date;
  Time time;
  time.second = 42;
  readDate(cut, date);
  readTime(cut, time);
  EXPECT_EQ(date.year, 2003);
  EXPECT_TRUE(cut.failed());
  EXPECT_EQ(time.second, 42);
}

TEST(DateTimeTest, MonthNamesAndOutOfRangeMonths) {
  EXPECT_STREQ(monthName(1), "january");
  EXPECT_STREQ(monthName(5), "may");
  EXPECT_STREQ(monthName(12), "december");
  EXPECT_STREQ(shortMonthName(6), "jun");
  EXPECT_STREQ(shortMonthName(9), "sep");
  for (int month : {0, 13, 255, -1}) {
    EXPECT_STREQ(monthName(month), "") << month;
    EXPECT_STREQ(shortMonthName(month), "") << month;
  }
}

TEST(DateTimeTest, SetNowReadsTheLocalClock) {
  platform::LocalTime pinned;
  pinned.year = 2004;
  pinned.month = 2;
  pinned.day = 29;
  pinned.weekday = 0;
  pinned.hour = 23;
  pinned.minute = 59;
  pinned.second = 1;
  platform::pinLocalNow(&pinned);
  DateTime now;
  now.setNow();
  platform::pinLocalNow(nullptr);
  EXPECT_EQ(now.date.year, 2004);
  EXPECT_EQ(now.date.month, 2);
  EXPECT_EQ(now.date.day, 29);
  EXPECT_EQ(now.date.weekday, 0);
  EXPECT_EQ(now.time.hour, 23);
  EXPECT_EQ(now.time.minute, 59);
  EXPECT_EQ(now.time.second, 1);
}

TEST(DateTimeTest, TemplateKeys) {
  auto render = [](const DateTime& when) {
    XFormatedLine line(XString("%d.%o.%y %Y %O %p %h:%m:%s"));
    addDateTimeKeys(line.keys, when);
    return line.render().str();
  };
  EXPECT_EQ(render(makeDateTime(2001, 1, 1, 1, 23, 59, 58)), "01.01.01 2001 jan january 23:59:58");
  EXPECT_EQ(render(makeDateTime(2003, 3, 24, 1, 7, 5, 9)), "24.03.03 2003 mar march 07:05:09");
  // Values no clock gives, as a damaged store may hold them: the names of
  // months 0 and 13 are empty, numbers stay numbers.
  EXPECT_EQ(render(makeDateTime(5, 0, 255, 9, 99, 0, 0)), "255.00.05 0005   99:00:00");
  EXPECT_EQ(render(makeDateTime(-1999, 13, 1, 0, 0, 0, 0)), "01.13.99 -1999   00:00:00");
}

}  // namespace
