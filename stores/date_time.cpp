#include "stores/date_time.h"

#include "foundation/formated_line.h"
#include "platform/clock.h"

namespace {

const char* const kMonthNames[12] = {"january",   "february", "march",    "april",
                                     "may",       "june",     "july",     "august",
                                     "september", "october",  "november", "december"};
const char* const kShortMonthNames[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                          "jul", "aug", "sep", "oct", "nov", "dec"};

// A record read from a file may hold any month: only 1 to 12 has a name.
const char* nameOf(const char* const* table, int month) {
  if (month < 1 || month > 12) return "";
  return table[month - 1];
}

XString twoDigits(unsigned int value) { return XString(value, 2u); }

}  // namespace

void Date::setNow() {
  platform::LocalTime now = platform::localNow();
  day = static_cast<uint8_t>(now.day);
  month = static_cast<uint8_t>(now.month);
  weekday = static_cast<uint8_t>(now.weekday);
  year = now.year;
}

void Date::stepBackOneDay() {
  if (day > 1) {
    --day;
  } else {
    if (month >= 2 && month <= 12) {
      --month;
    } else {
      month = 12;
      // The year before the first one the record can hold stays put.
      if (year > INT32_MIN) --year;
    }
    day = static_cast<uint8_t>(daysInMonth(month, year));
  }
  weekday = weekday == 0 || weekday > 6 ? 6 : static_cast<uint8_t>(weekday - 1);
}

bool Date::sameDay(const Date& a, const Date& b) {
  return a.day == b.day && a.month == b.month && a.year == b.year;
}

int daysInMonth(int month, int32_t year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month != 2) return kDays[month - 1];
  bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return leap ? 29 : 28;
}

void Time::setNow() {
  platform::LocalTime now = platform::localNow();
  second = static_cast<uint8_t>(now.second);
  minute = static_cast<uint8_t>(now.minute);
  hour = static_cast<uint8_t>(now.hour);
}

void DateTime::setNow() {
  date.setNow();
  time.setNow();
}

// The stored order is not the order in memory: weekday before month, and
// the hour first. Files already written depend on it.
XFile& writeDate(XFile& file, const Date& date) {
  return file << static_cast<unsigned char>(date.day) << static_cast<unsigned char>(date.weekday)
              << static_cast<unsigned char>(date.month) << static_cast<int>(date.year);
}

XFile& readDate(XFile& file, Date& date) {
  unsigned char day = date.day;
  unsigned char weekday = date.weekday;
  unsigned char month = date.month;
  int year = date.year;
  file >> day >> weekday >> month >> year;
  date.day = day;
  date.weekday = weekday;
  date.month = month;
  date.year = year;
  return file;
}

XFile& writeTime(XFile& file, const Time& time) {
  return file << static_cast<unsigned char>(time.hour) << static_cast<unsigned char>(time.minute)
              << static_cast<unsigned char>(time.second);
}

XFile& readTime(XFile& file, Time& time) {
  unsigned char hour = time.hour;
  unsigned char minute = time.minute;
  unsigned char second = time.second;
  file >> hour >> minute >> second;
  time.hour = hour;
  time.minute = minute;
  time.second = second;
  return file;
}

XFile& writeDateTime(XFile& file, const DateTime& when) {
  writeDate(file, when.date);
  return writeTime(file, when.time);
}

XFile& readDateTime(XFile& file, DateTime& when) {
  readDate(file, when.date);
  return readTime(file, when.time);
}

const char* monthName(int month) { return nameOf(kMonthNames, month); }

const char* shortMonthName(int month) { return nameOf(kShortMonthNames, month); }

void addDateTimeKeys(XReplaceList& keys, const DateTime& when) {
  const Date& date = when.date;
  const Time& time = when.time;
  keys.add('h', twoDigits(time.hour));
  keys.add('m', twoDigits(time.minute));
  keys.add('s', twoDigits(time.second));
  keys.add('d', twoDigits(date.day));
  keys.add('o', twoDigits(date.month));
  keys.add('O', XString(shortMonthName(date.month)));
  keys.add('p', XString(monthName(date.month)));
  // The last two digits of the magnitude, so a year before 0 cannot give a
  // sign here.
  uint32_t magnitude =
      date.year < 0 ? 0u - static_cast<uint32_t>(date.year) : static_cast<uint32_t>(date.year);
  keys.add('y', twoDigits(magnitude % 100));
  keys.add('Y', XString(static_cast<int>(date.year), 4u));
}
