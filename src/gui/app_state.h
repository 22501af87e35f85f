#pragma once

// Everything that lives from start-up to the end of the run, built once by
// start-up and handed down to the windows (no globals).

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/account/account_client.h"
#include "core/graphics/gdip_image.h"
#include "core/platform/clock.h"
#include "core/platform/instance_guard.h"
#include "core/platform/machine_identity.h"
#include "core/platform/process_launcher.h"
#include "core/platform/run_directory.h"
#include "core/platform/shell.h"
#include "core/settings/settings.h"
#include "core/text/text.h"
#include "core/update/update_record.h"
#include "gui/graphics/qt_image_decoder.h"

namespace quillet {

class TaskMessages;

struct AppState {
  AppState(Settings buildSettings, const AccountServices& accountServices)
      : settings(std::move(buildSettings)), accountClient(accountServices) {}

  Settings settings;
  // Built in this order at start-up.
  UpdateRecord updateRecord;    // the update check's nine texts
  AccountClient accountClient;  // the program's only account client
  std::vector<Text> quickToolPaths;
  std::array<Text, 30> homeLinkPaths;
  Text accountNumber;
  Text sessionToken;
  std::uintptr_t gdiplusToken = 0;  // set once the graphics runtime is up
  // The window shadow's pictures for sizes 5 and 10, empty until the shadow
  // first paints (gui/graphics/shadow_picture_cache.h fills them).
  GdipImage shadowImageSmall{QtImageDecoderInstance()};
  GdipImage shadowImageLarge{QtImageDecoderInstance()};
};

// Releases what the state holds, in the order the program always has: the
// update record, the account number, the account client, the session token,
// the path lists, the two shadow pictures. Nothing is written and nothing is
// sent.
void ReleaseGlobals(AppState& state);

// The operating system's services, built once at start-up.
struct AppServices {
  Shell& shell;
  InstanceGuard& instanceGuard;
  ProcessLauncher& launcher;
  const RunDirectory& runDirectory;
};

struct AppContext {
  AppState& state;
  AppServices services;
  TaskMessages& messages;
  // Ends the process at once and silently (a second main window).
  std::function<void()> endProgram;
};

}  // namespace quillet
