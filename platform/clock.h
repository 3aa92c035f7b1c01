// Local date and time, from one function so tests can pin it.
#ifndef PLATFORM_CLOCK_H_
#define PLATFORM_CLOCK_H_

namespace platform {

struct LocalTime {
  int year = 0;     // four digits
  int month = 0;    // 1..12
  int day = 0;      // 1..31
  int weekday = 0;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The current local date and time, or the pinned one.
LocalTime localNow();
// Tests fix what localNow gives; null lets the clock run again.
void pinLocalNow(const LocalTime* time);

}  // namespace platform

#endif  // PLATFORM_CLOCK_H_
