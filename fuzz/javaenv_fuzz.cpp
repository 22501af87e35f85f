// Child output arrives in pieces of any size and content: decoding it piece
// by piece must never crash and must give what decoding it in one go gives.
// Broken bytes may turn into a different number of "?" marks depending on
// where a piece ends, so those are left out of the comparison.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/javaenv/utf8_stream_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the piece length.
  const std::size_t step = data[0] % 7 + 1;
  ++data;
  --size;
  quillet::Utf8StreamDecoder whole;
  quillet::Text once = whole.Feed(data, size);
  once += whole.Finish();
  quillet::Utf8StreamDecoder pieces;
  quillet::Text split;
  for (std::size_t at = 0; at < size; at += step) {
    split += pieces.Feed(data + at, at + step <= size ? step : size - at);
  }
  split += pieces.Finish();
  if (split != once) {
    std::erase(split, '?');
    std::erase(once, '?');
  }
  if (split != once) std::abort();
  return 0;
}
