#pragma once

#include <cstdint>
#include <functional>

#include "core/platform/event_pump.h"
#include "core/platform/process_runner.h"
#include "core/text/text.h"

namespace quillet {

// Receives each piece of output as it is read; a non-zero result stops the
// capture.
using OutputHandler = std::function<std::int32_t(const Text& piece)>;

// Runs `command` through the command interpreter and collects what it writes
// to standard output and standard error, interleaved in arrival order, as
// code page 936 text. Each piece (the bytes read in one go) ends at its first
// zero byte. With `useHandler` each piece goes to `handler` first; when it
// returns non-zero the capture ends there (that piece is not kept) and the
// child is left to end by itself. Events are pumped while waiting. Empty text
// when nothing was read or the child could not be started.
Text RunAndCapture(ProcessRunner& runner, EventPump& pump, const Text& command,
                   const OutputHandler& handler, bool useHandler);

// Waits `milliseconds` while dispatching the calling thread's events.
inline void WaitPumping(EventPump& pump, int milliseconds) { pump.WaitPumping(milliseconds); }

}  // namespace quillet
