// The local clock on Windows: the system's local time, with the day of the
// week it gives (0 = Sunday).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/clock.h"

namespace platform {

// The clock's own reading; localNow gives it unless a test pinned the time.
LocalTime systemLocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  LocalTime local;
  local.year = now.wYear;
  local.month = now.wMonth;
  local.day = now.wDay;
  local.weekday = now.wDayOfWeek;
  local.hour = now.wHour;
  local.minute = now.wMinute;
  local.second = now.wSecond;
  return local;
}

}  // namespace platform
