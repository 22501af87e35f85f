#pragma once

// The update description the update server publishes at
// "/QuilletUpdate/update.txt": four sections "word{value}" anywhere in the
// (already percent-decoded) text, in any order.

#include <string_view>

#include "core/text/text.h"

namespace quillet {

// Path of the description under the update server's address.
inline constexpr char kUpdateDescriptionPath[] = "/QuilletUpdate/update.txt";

struct UpdateDescription {
  Text version;       // "更新版本{...}": the newest release, e.g. 1.0.0.1
  Text description;   // "新版介绍{...}": shown by the updater
  Text fileList;      // "文件列表{...}", every CR LF pair removed
  Text startProgram;  // "启动软件{...}": relative to the run directory
};

// Each value runs from after the first occurrence of its section word up to
// the next "}"; a missing section gives an empty value.
UpdateDescription ReadUpdateDescription(std::string_view decoded);

}  // namespace quillet
