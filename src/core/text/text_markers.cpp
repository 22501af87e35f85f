#include <climits>

#include "core/text/text.h"
#include "core/text/text_walk.h"

namespace quillet {
namespace {

// Page scrapers write a double quote inside a marker as "#引号", since their
// markers are themselves written as quoted texts.
Text ExpandQuoteMarker(std::string_view marker) {
  static thread_local const Text kQuoteName = Gbk("#引号");
  return TextReplace(marker, kQuoteName, "\"");
}

}  // namespace

Text TextBetween(std::string_view text, std::string_view left, std::string_view right, long start,
                 bool ignoreCase) {
  const Text leftMarker = ExpandQuoteMarker(left);
  const Text rightMarker = ExpandQuoteMarker(right);
  const long leftAt = TextFind(text, leftMarker, start, ignoreCase);
  if (leftAt < 1) return Text();
  const long contentAt = leftAt + static_cast<long>(leftMarker.size());
  const long rightAt = TextFind(text, rightMarker, contentAt, ignoreCase);
  if (rightAt < contentAt) return Text();  // missing, or an empty right marker
  return Text(text.substr(static_cast<std::size_t>(contentAt - 1),
                          static_cast<std::size_t>(rightAt - contentAt)));
}

Text TextLeftOf(std::string_view text, std::string_view marker) {
  const long at = TextFind(text, marker);
  if (at < 1) return Text();
  return Text(text.substr(0, static_cast<std::size_t>(at - 1)));
}

Text TextAfterLast(std::string_view text, std::string_view marker, long position) {
  const long from = position == LONG_MIN ? LONG_MAX : -position;
  const long at =
      position < 0 ? TextFind(text, marker, from) : TextFindLast(text, marker, position);
  if (at < 1) return Text();
  const std::size_t after = static_cast<std::size_t>(at - 1) + marker.size();
  return after >= text.size() ? Text() : Text(text.substr(after));
}

long CountOccurrences(std::string_view text, std::string_view what, bool caseSensitive) {
  if (text.empty() || what.empty()) return 0;
  detail::BoundaryWalker walker(text);
  long count = 0;
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = detail::FindAtBoundary(text, what, from, !caseSensitive, walker);
    if (hit == std::string_view::npos) break;
    ++count;
    from = hit + what.size();
  }
  return count;
}

}  // namespace quillet
