#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/text/text.h"

namespace quillet {

// Turns UTF-8 output that arrives in arbitrary pieces into code page 936.
// A character whose bytes are split between two pieces is held back and
// completed by the next piece instead of turning into two broken halves.
class Utf8StreamDecoder {
 public:
  // The code page 936 text of `data`, less an incomplete character at its
  // end, which is kept for the next call.
  Text Feed(const std::uint8_t* data, std::size_t size);
  // What is still held back (an unfinished character: "?"); empties the
  // decoder.
  Text Finish();

 private:
  void Convert(const std::uint8_t* data, std::size_t size, Text& out);
  std::string carry_;
};

}  // namespace quillet
