#pragma once

namespace quillet {

// A local wall-clock reading, as the system's local time gives it.
struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The wall clock, injected so that time stamps can be tested.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime LocalNow() const = 0;
};

}  // namespace quillet
