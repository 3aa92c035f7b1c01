#include <time.h>

#include <mutex>

#include "platform/clock.h"

namespace platform {

// The clock's own reading; localNow gives it unless a test pinned the time.
LocalTime systemLocalNow() {
  // localtime_r need not read the time zone itself.
  static std::once_flag zoneRead;
  std::call_once(zoneRead, [] { tzset(); });
  time_t now = time(nullptr);
  struct tm parts;
  LocalTime local;
  if (localtime_r(&now, &parts) == nullptr) return local;
  local.year = parts.tm_year + 1900;
  local.month = parts.tm_mon + 1;
  local.day = parts.tm_mday;
  local.weekday = parts.tm_wday;
  local.hour = parts.tm_hour;
  local.minute = parts.tm_min;
  local.second = parts.tm_sec;
  return local;
}

}  // namespace platform
