#include <cstring>

#include "core/text/text.h"
#include "core/text/text_walk.h"

namespace quillet {
namespace detail {
namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// Compares `what` with the text at `at`; only single-byte characters of
// `what` fold case, so the trail byte of a Chinese character (which may be an
// ASCII letter value) is always compared exactly.
bool MatchesAt(std::string_view text, std::size_t at, std::string_view what) {
  std::size_t k = 0;
  while (k < what.size()) {
    const std::size_t width = CharWidthAt(what, k);
    if (width == 2) {
      if (text[at + k] != what[k] || text[at + k + 1] != what[k + 1]) return false;
    } else if (FoldAscii(text[at + k]) != FoldAscii(what[k])) {
      return false;
    }
    k += width;
  }
  return true;
}

std::size_t RawFind(std::string_view text, std::string_view what, std::size_t from,
                    bool ignoreCase) {
  if (!ignoreCase) return text.find(what, from);
  if (what.size() > text.size()) return std::string_view::npos;
  const char first = FoldAscii(what[0]);
  const bool letter = first >= 'a' && first <= 'z';
  const std::size_t last = text.size() - what.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (!letter) {
      const void* hit = std::memchr(text.data() + i, first, last - i + 1);
      if (hit == nullptr) return std::string_view::npos;
      i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    } else if (FoldAscii(text[i]) != first) {
      continue;
    }
    if (MatchesAt(text, i, what)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindAtBoundary(std::string_view text, std::string_view what, std::size_t from,
                           bool ignoreCase, BoundaryWalker& walker) {
  while (from <= text.size()) {
    const std::size_t hit = RawFind(text, what, from, ignoreCase);
    if (hit == std::string_view::npos) return hit;
    const std::size_t boundary = walker.AdvanceTo(hit);
    if (boundary == hit) return hit;
    from = boundary;  // the hit began inside a character
  }
  return std::string_view::npos;
}

}  // namespace detail

namespace {

std::size_t StartIndex(long start) { return start < 1 ? 0 : static_cast<std::size_t>(start - 1); }

}  // namespace

long TextFind(std::string_view text, std::string_view what, long start, bool ignoreCase) {
  if (what.empty()) return text.empty() ? -1 : 1;
  detail::BoundaryWalker walker(text);
  const std::size_t hit = detail::FindAtBoundary(text, what, StartIndex(start), ignoreCase, walker);
  return hit == std::string_view::npos ? -1 : static_cast<long>(hit) + 1;
}

long TextFindLast(std::string_view text, std::string_view what, long start, bool ignoreCase) {
  if (what.empty()) return text.empty() ? -1 : 1;
  const std::size_t limit = start <= 0 ? text.size() : static_cast<std::size_t>(start - 1);
  detail::BoundaryWalker walker(text);
  long found = -1;
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = detail::FindAtBoundary(text, what, from, ignoreCase, walker);
    if (hit == std::string_view::npos || hit > limit) break;
    found = static_cast<long>(hit) + 1;
    from = hit + 1;  // matches may overlap when searching backward
  }
  return found;
}

bool TextContains(std::string_view text, std::string_view what, bool ignoreCase) {
  return TextFind(text, what, 1, ignoreCase) != -1;
}

Text TextReplace(std::string_view text, std::string_view what, std::string_view with, long start,
                 long count, bool ignoreCase) {
  const std::size_t from = StartIndex(start);
  if (what.empty() || from >= text.size() || count == 0) return Text(text);
  Text out;
  out.reserve(text.size());
  detail::BoundaryWalker walker(text);
  std::size_t copied = 0;
  std::size_t pos = from;
  long done = 0;
  while (count < 0 || done < count) {
    const std::size_t hit = detail::FindAtBoundary(text, what, pos, ignoreCase, walker);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(copied, hit - copied));
    out.append(with);
    copied = pos = hit + what.size();
    ++done;
  }
  out.append(text.substr(copied));
  return out;
}

std::vector<Text> TextSplit(std::string_view text, std::string_view separator) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  detail::BoundaryWalker walker(text);
  std::size_t begin = 0;
  for (;;) {
    const std::size_t hit = detail::FindAtBoundary(text, separator, begin, false, walker);
    if (hit == std::string_view::npos) break;
    pieces.emplace_back(text.substr(begin, hit - begin));
    begin = hit + separator.size();
  }
  if (begin < text.size()) pieces.emplace_back(text.substr(begin));
  return pieces;
}

}  // namespace quillet
