#pragma once

// Restarting after the network-failure dialog: a small shell script beside
// the program waits about a second (so this process is gone), starts the
// program again without waiting for it and deletes itself.

#include <string>

#include "core/platform/process_launcher.h"
#include "core/platform/run_directory.h"

namespace quillet {

inline constexpr const char kRestartScriptName[] = "Restart.sh";

// The script for `programPath` with a pause of `pauseSeconds`.
std::string RestartScriptText(const std::string& programPath, int pauseSeconds);

// Quotes `text` for /bin/sh so that it stays one word whatever it holds
// (blanks, quotes, "$", Chinese).
std::string ShellQuote(const std::string& text);

enum class RestartResult {
  kNoProgramFile,  // nothing written, nothing started
  kStarted,        // the script runs; the caller ends the process at once
  kFailed,         // the script could not be written or started
};

// Writes the script into the run directory and starts it detached, with the
// run directory as its working directory so its last line finds itself.
RestartResult RestartProgram(const RunDirectory& runDirectory, ProcessLauncher& launcher);

}  // namespace quillet
