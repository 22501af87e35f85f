#pragma once

namespace quillet {

// Keeps the calling thread's window events flowing during a long wait, so a
// window on the GUI thread stays responsive while the core blocks. Off the
// GUI thread, and in tests, a pump may do nothing but wait.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Dispatches whatever events are waiting, then returns.
  virtual void PumpPending() = 0;
  // Waits about `milliseconds`, dispatching events meanwhile.
  virtual void WaitPumping(int milliseconds) = 0;
};

// A pump for threads without events: PumpPending does nothing, WaitPumping
// sleeps.
class SleepingEventPump final : public EventPump {
 public:
  void PumpPending() override {}
  void WaitPumping(int milliseconds) override;
};

}  // namespace quillet
