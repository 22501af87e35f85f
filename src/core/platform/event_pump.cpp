#include "core/platform/event_pump.h"

#include <chrono>
#include <thread>

namespace quillet {

void SleepingEventPump::WaitPumping(int milliseconds) {
  if (milliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

}  // namespace quillet
