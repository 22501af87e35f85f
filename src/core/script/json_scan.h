#pragma once

// Byte-run scanning shared by the reader and the writer of JSON text.

#include <array>
#include <cstddef>

namespace quillet::json {

// Marks the bytes that end a run.
using ByteSet = std::array<bool, 256>;

// The end of the run of unmarked bytes of s[i, n). Four bytes are tested per
// step: texts are mostly long plain runs, and the fewer loop tests the better.
inline std::size_t RunEnd(const ByteSet& stops, const char* s, std::size_t i, std::size_t n) {
  const auto stop = [&](std::size_t k) { return stops[static_cast<unsigned char>(s[k])]; };
  while (i + 4 <= n && !(stop(i) | stop(i + 1) | stop(i + 2) | stop(i + 3))) i += 4;
  while (i < n && !stop(i)) ++i;
  return i;
}

}  // namespace quillet::json
