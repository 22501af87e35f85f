#include "core/home/slide_script.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace quillet {
namespace {

constexpr std::string_view kEntryEnd = "] = '";
// More digits than any reachable count; such an index can never be asked for.
constexpr std::size_t kMaxIndexDigits = 15;

// Width of the character at `i`: a lead byte takes the next byte with it,
// whatever that byte is, exactly as the text searches count characters.
std::size_t CharWidth(std::string_view text, std::size_t i) {
  return (IsLeadByte(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size()) ? 2 : 1;
}

// Finds the quote that ends a value: the first quote at a character boundary
// at or after a boundary position. Positions asked for only grow, so the
// page is walked once however many values there are.
class QuoteFinder {
 public:
  explicit QuoteFinder(std::string_view page) : page_(page) {}

  std::size_t NextFrom(std::size_t from) {
    if (known_ && (found_ == std::string_view::npos || found_ >= from)) return found_;
    std::size_t j = std::max(from, walked_);
    while (j < page_.size() && page_[j] != '\'') j += CharWidth(page_, j);
    walked_ = j;
    found_ = j < page_.size() ? j : std::string_view::npos;
    known_ = true;
    return found_;
  }

 private:
  std::string_view page_;
  std::size_t walked_ = 0;
  std::size_t found_ = std::string_view::npos;
  bool known_ = false;
};

}  // namespace

long SlideCount(std::string_view page, std::string_view arrayName) {
  return CountOccurrences(page, arrayName, false) - 1;
}

std::vector<Text> SlideValues(std::string_view page, std::string_view arrayName, long count) {
  if (count <= 0) return {};
  const std::string prefix = std::string(arrayName) + "[";
  std::unordered_map<long, Text> first;
  QuoteFinder quotes(page);
  std::size_t i = 0;
  while (i < page.size()) {
    // Only character boundaries count: the trail byte of a Chinese character
    // can have the value of an ASCII letter.
    const std::size_t width = CharWidth(page, i);
    if (width == 1 && page.compare(i, prefix.size(), prefix) == 0) {
      std::size_t at = i + prefix.size();
      const std::size_t digitsStart = at;
      while (at < page.size() && page[at] >= '0' && page[at] <= '9') ++at;
      const std::size_t digits = at - digitsStart;
      // "[01]" is not the marker of slide 1: the number is written plainly.
      if (digits > 0 && digits <= kMaxIndexDigits && page[digitsStart] != '0' &&
          page.compare(at, kEntryEnd.size(), kEntryEnd) == 0) {
        const long n = std::stol(std::string(page.substr(digitsStart, digits)));
        if (n <= count && !first.contains(n)) {
          const std::size_t valueStart = at + kEntryEnd.size();
          const std::size_t valueEnd = quotes.NextFrom(valueStart);
          first.emplace(n, valueEnd == std::string_view::npos
                               ? Text()
                               : Text(page.substr(valueStart, valueEnd - valueStart)));
        }
      }
    }
    i += width;
  }
  std::vector<Text> values(static_cast<std::size_t>(count));
  for (auto& [n, value] : first) values[static_cast<std::size_t>(n - 1)] = std::move(value);
  return values;
}

}  // namespace quillet
