// What the clock shares on every platform: the pinned time of the tests.
#include <mutex>

#include "platform/clock.h"

namespace platform {

LocalTime systemLocalNow();

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
  return systemLocalNow();
}

}  // namespace platform
