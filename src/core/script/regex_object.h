#pragma once

// One regular expression run over one subject text, with the matches kept for
// later questions. ECMAScript-style grammar on PCRE2; the subject is code page
// 936 text and every position handed out is a 0-based byte offset into it.

#include <memory>
#include <string_view>

#include "core/text/text.h"

namespace quillet {

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject& other);  // shares the matches
  RegexObject& operator=(const RegexObject& other);
  RegexObject(RegexObject&&) noexcept;
  RegexObject& operator=(RegexObject&&) noexcept;

  // Releases the expression, the matches and the subject.
  void Destroy();
  // A new object sharing this one's expression and matches.
  RegexObject Copy() const;

  // Compiles `pattern` (every "#引号" a double quote when `quoteMarker`) and
  // runs it over `subject`. True when the expression could be run, also with
  // no match; false for an invalid pattern or a run cut off by the engine's
  // backtracking limits (the object then holds no matches).
  bool Create(std::string_view pattern, std::string_view subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool quoteMarker = false);
  void NoOp() {}

  // The pattern in force (after the quote-marker replacement).
  Text GetPattern() const;
  // The subject with every match (the first only when not global) replaced;
  // "$1".."$99" stand for a group, "$&" for the match, "$`" / "$'" for the
  // text before / after it, "$$" for "$". Empty when the last Create failed.
  Text Replace(std::string_view replacement = {}) const;
  long GetMatchCount() const;
  // Match `index` (1-based). When `position` is given it receives the byte
  // offset of the first occurrence of the text at or after the match's start
  // counted in UTF-16 units (the real offset unless the same text also occurs
  // in between); for an empty text or an unanswerable question 0 while that
  // start lies inside the subject, else -2.
  Text GetMatchText(long index, long* position = nullptr) const;
  // Group `groupIndex` (1-based) of match `matchIndex`; empty when the group
  // took no part. Its position is searched from the start of its match.
  Text GetSubMatchText(long matchIndex, long groupIndex, long* position = nullptr) const;
  // Number of capture groups of the first match; 0 when there is none.
  long GetSubMatchCount() const;

 private:
  struct State;
  // Group 0 is the whole match; a negative group answers like a missing one.
  Text Answer(long matchIndex, long groupIndex, long* position) const;

  std::shared_ptr<const State> state_;  // the matches; null until a Create ran
  Text subject_;
  Text pattern_;
};

}  // namespace quillet
