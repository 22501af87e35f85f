#pragma once

// Character-boundary helpers shared by the text primitives.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet::detail {

// Width of the character starting at byte `i`: 2 for a lead byte with a byte
// after it, otherwise 1 (a lead byte at the very end stands alone).
inline std::size_t CharWidthAt(std::string_view text, std::size_t i) {
  const auto b = static_cast<std::uint8_t>(text[i]);
  return (b >= 0x81 && b <= 0xFE && i + 1 < text.size()) ? 2 : 1;
}

// Walks character boundaries from the start of a text, only forward.
class BoundaryWalker {
 public:
  explicit BoundaryWalker(std::string_view text) : text_(text) {}

  // The first boundary at or after `target`.
  std::size_t AdvanceTo(std::size_t target) {
    while (pos_ < target && pos_ < text_.size()) pos_ += CharWidthAt(text_, pos_);
    return pos_ < target ? target : pos_;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// First match of `what` (non-empty) that begins at a character boundary at or
// after the 0-based `from`; npos when there is none. With `ignoreCase` ASCII
// letters match either case, the trail bytes of double-byte characters never.
std::size_t FindAtBoundary(std::string_view text, std::string_view what, std::size_t from,
                           bool ignoreCase, BoundaryWalker& walker);

}  // namespace quillet::detail
