#include "core/startup/restart_program.h"

#include <filesystem>
#include <system_error>

#include "core/startup/atomic_file.h"

namespace quillet {

namespace {

// Line by line the shape of the restart batch of the Windows build: quiet
// start, pause, start detached, delete by relative name. Lines end in LF, and
// the path keeps its file-system bytes: sh reads neither CR LF nor GBK.
constexpr const char kTemplate[] =
    "#!/bin/sh\n"
    "sleep 秒数 >/dev/null 2>&1\n"
    "<文件名> >/dev/null 2>&1 &\n"
    "rm -f Restart.sh";

void ReplaceOnce(std::string& text, const std::string& what, const std::string& with) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
}

}  // namespace

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string RestartScriptText(const std::string& programPath, int pauseSeconds) {
  std::string text = kTemplate;
  ReplaceOnce(text, "<文件名>", ShellQuote(programPath));
  ReplaceOnce(text, "秒数", std::to_string(pauseSeconds));
  return text;
}

RestartResult RestartProgram(const RunDirectory& runDirectory, ProcessLauncher& launcher) {
  const std::string program = runDirectory.ProgramPath();
  std::error_code ec;
  if (program.empty() || !std::filesystem::is_regular_file(program, ec)) {
    return RestartResult::kNoProgramFile;
  }
  const std::string script = runDirectory.Directory() + "/" + kRestartScriptName;
  if (!WriteFileAtomically(script, RestartScriptText(program, 1), /*ownerOnly=*/true)) {
    return RestartResult::kFailed;
  }
  return launcher.StartDetached("/bin/sh", {script}, runDirectory.Directory())
             ? RestartResult::kStarted
             : RestartResult::kFailed;
}

}  // namespace quillet
