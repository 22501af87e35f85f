#pragma once

#include <string>

#include "core/platform/process_runner.h"

namespace quillet {

// Runs commands through /bin/sh -c with standard output and standard error
// on one pipe and standard input on /dev/null. Children write UTF-8.
//
// Windows' command interpreter answers a command it cannot find with
// "'name' 不是内部或外部命令..." and callers look for that text; sh says
// "sh: 1: name: not found" instead. So when the command's first word is a
// plain name, the child first asks the shell itself ("command -v", which knows
// builtins, keywords and the PATH the child sees) and prints the interpreter
// message on standard error when the name is unknown. A first word holding
// shell syntax (quotes, "$", "=", redirections...) is left to sh unchecked.
class ShellProcessRunner final : public ProcessRunner {
 public:
  // `toolDirectory` (UTF-8; the program's own folder) goes first on the
  // children's PATH, so that the tools shipped beside the program, such as
  // systeminfo, are found by their bare names, the way the Windows
  // interpreter finds programs in the current folder first.
  explicit ShellProcessRunner(std::string toolDirectory = {});
  std::unique_ptr<CapturedProcess> StartCaptured(const Text& command) override;
  unsigned OutputCodePage() const override;

 private:
  std::string toolDirectory_;
};

// The first word of `command` (UTF-8) when the missing-command check applies
// to it, otherwise empty.
std::string CheckedCommandName(const std::string& command);

}  // namespace quillet
