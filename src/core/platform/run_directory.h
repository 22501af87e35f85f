#pragma once

#include <string>

namespace quillet {

// Where the program lives: the folder that holds the program file, beside
// which it keeps data.dll, QuickTools and its helper scripts. Native
// file-system bytes, without a trailing separator.
class RunDirectory {
 public:
  virtual ~RunDirectory() = default;
  virtual std::string Directory() const = 0;
  // The full path of the program file itself.
  virtual std::string ProgramPath() const = 0;
};

}  // namespace quillet
