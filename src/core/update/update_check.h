#pragma once

// The update check the box-pass window runs while it is created: fetch the
// update description, compare its version with the program's own and, when
// the published one is newer, hand over to the updater and end the program.

#include <functional>
#include <string_view>

#include "core/text/text.h"
#include "core/update/update_record.h"

namespace quillet {

class EventPump;
class NewFileWriter;
class ProcessLauncher;
class RunDirectory;

struct UpdateCheckServices {
  // The update server's address without trailing "/" (build setting).
  Text updateServerUrl;
  // One GET of a URL; the page text, empty when it failed.
  std::function<Text(const Text& url)> fetch;
  // The program's own full file version, empty when it cannot be read.
  std::function<Text()> ownVersion;
  const RunDirectory* runDirectory = nullptr;
  NewFileWriter* fileWriter = nullptr;
  ProcessLauncher* launcher = nullptr;
  // The updater program the program carries, written when none is there.
  std::string_view updaterBytes;
  // Ends the program at once; called only after the updater has started.
  std::function<void()> endProgram;
};

enum class UpdateCheckOutcome {
  kNoUpdate,        // nothing newer (or no description)
  kHandedOver,      // the updater runs and endProgram was called
  kHandOverFailed,  // newer, but the updater could not be written or started
};

// Fills `record` (when given) and, with a newer version, writes the updater
// when the run directory has none (an existing one is never replaced) and
// starts it with the five words of updater_command_line.h.
UpdateCheckOutcome CheckForUpdate(const UpdateCheckServices& services,
                                  UpdateRecord* record = nullptr);

// The fetch the program uses: WinHttpFetch of the URL alone, with `pump`
// keeping the window alive meanwhile.
std::function<Text(const Text& url)> WinHttpUpdateFetch(EventPump* pump);

}  // namespace quillet
