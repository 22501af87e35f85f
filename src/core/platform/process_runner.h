#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/text/text.h"

namespace quillet {

// A child started by ProcessRunner: its standard output and standard error
// share one pipe whose read end this object holds; it has no standard input.
// Destroying it closes the read end without waiting for the child or ending
// it; a child still running is reaped when it ends, so it never lingers as a
// zombie.
class CapturedProcess {
 public:
  virtual ~CapturedProcess() = default;
  // Bytes waiting in the pipe right now; -1 when the pipe cannot be queried.
  virtual long BytesWaiting() = 0;
  // Reads at most `count` bytes that are already waiting; never blocks.
  // Returns the number read (0 when nothing was there), -1 on failure.
  virtual long Read(std::uint8_t* buffer, std::size_t count) = 0;
  // Waits up to `milliseconds` for bytes to arrive; true when some wait.
  virtual bool WaitForOutput(int milliseconds) = 0;
  // True once the child has ended. Whatever it wrote before is in the pipe.
  virtual bool HasEnded() = 0;
};

// Runs console commands through the system's command interpreter.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Starts `command` (code page 936) with the program's environment and
  // current directory. A command the interpreter cannot find produces the
  // interpreter's "'name' 不是内部或外部命令..." message on standard error.
  // Nothing when no child could be started.
  virtual std::unique_ptr<CapturedProcess> StartCaptured(const Text& command) = 0;
  // Code page of what children write: 936 where consoles write it natively,
  // 65001 where they write UTF-8 (the caller converts).
  virtual unsigned OutputCodePage() const = 0;
};

}  // namespace quillet
