#pragma once

#include "core/platform/new_file_writer.h"

namespace quillet {

// Writes the bytes to a temporary file in the target's folder and links it
// under the final name; link() refuses an existing name, so a file that
// appeared meanwhile is kept and nothing half-written is ever visible.
class ExclusiveFileWriter final : public NewFileWriter {
 public:
  bool Exists(const std::string& path) const override;
  bool WriteNew(const std::string& path, std::string_view bytes, bool executable) override;
};

}  // namespace quillet
