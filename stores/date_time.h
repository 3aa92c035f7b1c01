// Local dates and times, their stored form in the suite's files, and the
// English month names.
#ifndef STORES_DATE_TIME_H_
#define STORES_DATE_TIME_H_

#include <cstdint>

#include "foundation/xfile.h"
#include "foundation/xstring.h"

class XReplaceList;

// A calendar day as the local clock gives it. Fields are kept as read:
// nothing checks them, so a record read from a file may hold any value.
struct Date {
  // Today, from the local clock.
  void setNow();
  // The previous calendar day (Gregorian leap years); the weekday steps
  // back with it, 0 to 6. A month outside 1..12 counts as January.
  void stepBackOneDay();
  // Day, month and year are equal; the weekday is not compared.
  static bool sameDay(const Date& a, const Date& b);

  uint8_t day = 0;      // 1..31
  uint8_t month = 0;    // 1..12
  uint8_t weekday = 0;  // 0 Sunday .. 6 Saturday
  int32_t year = 0;     // four digits
};

// The days of a month (1 to 12) of a year: February has 29 in a leap year
// of the Gregorian calendar (divisible by 4, and by 400 when by 100). 0 for
// a month outside 1..12.
int daysInMonth(int month, int32_t year);

// A time of day as the local clock gives it.
struct Time {
  void setNow();

  uint8_t second = 0;
  uint8_t minute = 0;
  uint8_t hour = 0;  // 0..23
};

// A date and a time. setNow reads the clock twice, once for each, so a
// record taken across midnight may pair one day's date with the next day's
// time.
struct DateTime {
  void setNow();

  Date date;
  Time time;
};

// The stored forms: a date as day, weekday, month (one byte each) and the
// year (4 bytes); a time as hour, minute, second; a date-and-time as the
// date then the time. A read past the end of the file leaves the fields it
// could not read unchanged and marks the file failed.
XFile& writeDate(XFile& file, const Date& date);
XFile& readDate(XFile& file, Date& date);
XFile& writeTime(XFile& file, const Time& time);
XFile& readTime(XFile& file, Time& time);
XFile& writeDateTime(XFile& file, const DateTime& when);
XFile& readDateTime(XFile& file, DateTime& when);

// "january" .. "december" and "jan" .. "dec" for months 1 to 12; the empty
// text for any other month number.
const char* monthName(int month);
const char* shortMonthName(int month);

// Adds the template keys of a date and a time: d day, o month number, h
// hour, m minute, s second (each at least two digits with a leading "0"),
// O short month name, p month name, y the year's last two digits, Y the
// year with at least four digits.
void addDateTimeKeys(XReplaceList& keys, const DateTime& when);

#endif  // STORES_DATE_TIME_H_
