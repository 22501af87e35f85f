#pragma once

// The nine texts the update check leaves behind for the rest of the run.

#include <array>
#include <cstddef>

#include "core/text/text.h"

namespace quillet {

struct UpdateRecord {
  enum Field : std::size_t {
    kOwnVersion = 0,
    kPublishedVersion = 1,
    kDescription = 2,
    kFileList = 3,
    kTargetDirectory = 4,  // the run directory followed by "/"
    kCommandLine = 5,      // the updater's five words; only when handed over
    kFirstWord = 6,        // "3"
    kUnused = 7,           // always empty
    kStartProgram = 8,     // the run directory, "/" and the program to start
  };
  std::array<Text, 9> fields;

  const Text& operator[](Field field) const { return fields[field]; }
  Text& operator[](Field field) { return fields[field]; }
};

}  // namespace quillet
