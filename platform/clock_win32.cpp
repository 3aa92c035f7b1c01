// The local clock on Windows: the system's local time, with the day of the
// week it gives (0 = Sunday).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <mutex>

#include "platform/clock.h"

namespace platform {

namespace {

std::mutex pinMutex;
bool pinned = false;
LocalTime pinnedTime;

}  // namespace

void pinLocalNow(const LocalTime* time) {
  std::lock_guard<std::mutex> guard(pinMutex);
  pinned = time != nullptr;
  if (pinned) pinnedTime = *time;
}

LocalTime localNow() {
  {
    std::lock_guard<std::mutex> guard(pinMutex);
    if (pinned) return pinnedTime;
  }
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
