// The home page's one-pass slide scan against searching each marker on its
// own with TextBetween: for any page both must give the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/home/slide_script.h"
#include "core/text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page = quillet::TextFromBytes(quillet::Bytes(data, data + size));
  const long count = quillet::SlideCount(page, quillet::kSlideTextsArray);
  // Bounded so the per-marker searches stay quick.
  if (count > 64) return 0;
  const std::vector<quillet::Text> values =
      quillet::SlideValues(page, quillet::kSlideTextsArray, count);
  if (values.size() != static_cast<std::size_t>(count < 0 ? 0 : count)) std::abort();
  for (long n = 1; n <= count; ++n) {
    const quillet::Text expected =
        quillet::TextBetween(page, "slideImgTexts[" + std::to_string(n) + "] = '", "'");
    if (values[static_cast<std::size_t>(n - 1)] != expected) std::abort();
  }
  return 0;
}
