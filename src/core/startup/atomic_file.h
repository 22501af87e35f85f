#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Replaces the file at `path` with `bytes` in one step: the bytes go to a
// temporary file beside it, which is renamed over the old one, so a crash or
// a full disk never leaves half a file behind. `ownerOnly` makes the file
// readable and writable by its owner alone. False when anything failed; the
// old file is then untouched.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, bool ownerOnly);

// The file's bytes, at most `limit` of them; empty when it is missing or
// unreadable.
std::string ReadFileBytes(const std::string& path, std::size_t limit);

}  // namespace quillet
