#pragma once

// Lists the files of one folder, the way the quick-tools page needs it.

#include <string>
#include <vector>

#include "core/platform/event_pump.h"

namespace quillet {

// Empties `out`, then appends every entry of `folder` that is not a folder
// (hidden files included) whose name matches `pattern`, in the order the file
// system returns them; sub-folders are neither listed nor entered. With
// `fullPath` an entry is folder + "/" + name, otherwise the bare name.
// `pump`, when given, dispatches pending events after each entry. Paths are
// native file-system bytes. Returns the number of entries; a missing folder
// gives 0.
//
// Patterns use "*" for any run of characters and "?" for one, ASCII letters
// matching either case; "*.*" matches every name, with or without a dot.
long FindFiles(const std::string& folder, const std::string& pattern, std::vector<std::string>& out,
               bool fullPath, EventPump* pump = nullptr);

// The wildcard match FindFiles uses.
bool MatchesFilePattern(const std::string& name, const std::string& pattern);

}  // namespace quillet
