#pragma once

// The core's event pump over Qt: while the core waits for a child process on
// the GUI thread, the window keeps repainting and answering input.

#include "core/platform/event_pump.h"

namespace quillet {

class QtEventPump final : public EventPump {
 public:
  void PumpPending() override;
  void WaitPumping(int milliseconds) override;
};

}  // namespace quillet
