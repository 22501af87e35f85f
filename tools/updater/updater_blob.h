#pragma once

#include <string_view>

namespace quillet {

// The updater program the program carries, byte for byte, to write beside
// itself when a newer version is published (UpdateCheckServices::updaterBytes).
std::string_view UpdaterBytes();

}  // namespace quillet
