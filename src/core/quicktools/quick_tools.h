#pragma once

// The quick-tools page: the files of the QuickTools folder beside the
// program, listed once and opened with the desktop's default program.

#include <string>
#include <vector>

#include "core/platform/event_pump.h"
#include "core/platform/shell.h"

namespace quillet {

struct QuickTool {
  std::string path;  // full path; what a double-click opens
  std::string name;  // the item text: the file name without its extension
};

// run directory + "/QuickTools".
std::string QuickToolsFolder(const std::string& runDirectory);

// Creates the folder when it is missing; an existing one is left alone.
// False when it cannot be made (a read-only medium); the page is then empty.
bool CreateQuickToolsFolder(const std::string& runDirectory);

// Every file of `folder` in file-system order (FindFiles with "*" and full
// paths) with its item text.
std::vector<QuickTool> ListQuickTools(const std::string& folder, EventPump* pump = nullptr);

// Opens entry `item` with the shell; false for an index outside the list or
// when the shell cannot start it.
bool OpenQuickTool(Shell& shell, const std::vector<QuickTool>& tools, long item);

}  // namespace quillet
