#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Creates files that must not replace anything: the file appears whole under
// its name or not at all, and an existing file of that name is never
// overwritten. Paths are native file-system bytes.
class NewFileWriter {
 public:
  virtual ~NewFileWriter() = default;
  virtual bool Exists(const std::string& path) const = 0;
  // False when the file could not be written or `path` already exists.
  // `executable` makes it a program its owner and others may run.
  virtual bool WriteNew(const std::string& path, std::string_view bytes, bool executable) = 0;
};

}  // namespace quillet
