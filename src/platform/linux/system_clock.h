#pragma once

#include "core/platform/clock.h"

namespace quillet {

// The machine's local time (time zone from the environment).
class SystemClock final : public Clock {
 public:
  LocalDateTime LocalNow() const override;
};

}  // namespace quillet
