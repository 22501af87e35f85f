#pragma once

// The updater's file list (the second word of its command line): entries
// "name,size,sha256" or "name,size,sha256,x" separated by "|".
//   name    a path relative to the target directory: segments of letters,
//           digits, ".", "_" and "-" joined by "/"; never "." or ".."
//   size    the file's length in bytes, decimal
//   sha256  64 hexadecimal digits
//   x       the file is a program (mode 0755 when it is new)
// White space around entries and fields is ignored, and so is an empty entry
// (a trailing "|"). Every character is URL-safe and none is "}", so the list
// stands in the update description as it is.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::updater {

struct UpdateFile {
  std::string name;
  std::uint64_t size = 0;
  std::string sha256;  // lower case
  bool executable = false;
};

// Nullopt with `error` (Chinese, UTF-8) set when the list is empty or any
// entry is malformed; names may not repeat.
std::optional<std::vector<UpdateFile>> ParseUpdateFileList(std::string_view list,
                                                           std::string* error);

}  // namespace quillet::updater
