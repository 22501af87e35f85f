#pragma once

#include "core/platform/process_launcher.h"
#include "core/platform/shell.h"

namespace quillet {

// The freedesktop shell: xdg-open for addresses and files, the first terminal
// emulator found for consoles. Everything starts detached through `launcher`.
class DesktopShell final : public Shell {
 public:
  explicit DesktopShell(ProcessLauncher& launcher) : launcher_(launcher) {}
  bool OpenUrl(const std::string& url) override;
  bool OpenFile(const std::string& path) override;
  bool OpenTerminal(const std::string& command) override;

 private:
  ProcessLauncher& launcher_;
};

// How a terminal emulator is asked to run a program with its arguments.
struct TerminalCommand {
  std::string program;
  std::vector<std::string> arguments;
};

// The terminal invocation that runs `command` through /bin/sh and then keeps
// an interactive shell open, like "cmd /k"; `terminal` is the emulator's name.
TerminalCommand TerminalInvocation(const std::string& terminal, const std::string& command);

}  // namespace quillet
