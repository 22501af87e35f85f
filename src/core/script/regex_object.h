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
  RegexObject(const RegexObject& other);             // shares the compiled expression and matches
  RegexObject& operator=(const RegexObject& other);
  RegexObject(RegexObject&&) noexcept;
  RegexObject& operator=(RegexObject&&) noexcept;

  // Releases the expression, the matches and the subject.
  void Destroy();
  // A new object sharing this one's expression and matches.
  RegexObject Copy() const;

  // Compiles `pattern` (every "#引号" a double quote when `quoteMarker`) and
  // runs it over `subject`. True when the expression could be run, also with
  // no match; false for an invalid pattern.
  bool Create(std::string_view pattern, std::string_view subject,
              bool caseSensitive = false, bool multiline = true,
              bool global = true, bool quoteMarker = false);
  void NoOp() {}

  // The pattern in force (after the quote-marker replacement).
  Text GetPattern() const;
  // The subject with every match (the first only when not global) replaced;
  // "$n" in `replacement` stands for group n.
  Text Replace(std::string_view replacement = {}) const;
  long GetMatchCount() const;
  // Match `index` (1-based). When `position` is given it receives the byte
  // offset as described in the tests (or 0 / -2 for questions that cannot be
  // answered and empty texts).
  Text GetMatchText(long index, long* position = nullptr) const;
  Text GetSubMatchText(long matchIndex, long groupIndex,
                       long* position = nullptr) const;
  // Number of capture groups of the first match; 0 when there is none.
  long GetSubMatchCount() const;

 private:
  struct State;
  std::shared_ptr<const State> state_;  // compiled expression + matches
  Text subject_;
  Text pattern_;
};

}  // namespace quillet
