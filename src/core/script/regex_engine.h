#pragma once

// The PCRE2 side of RegexObject: compiles an ECMAScript-style expression and
// collects its matches over a UTF-8 subject. Knows nothing of code page 936;
// the object converts on the way in and out.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct RegexOptions {
  bool caseSensitive = false;
  bool multiline = true;
  bool global = true;
};

// Offsets of one match list, flat: for match m and group g (0 = whole match)
// the UTF-8 byte range [Begin, End). Groups that took no part are unset.
class RegexMatches {
 public:
  static constexpr std::uint32_t kUnset = 0xFFFFFFFFu;

  long Count() const { return static_cast<long>(utf16Starts_.size()); }
  // Capture groups of the expression, not counting group 0.
  long GroupCount() const { return groupCount_; }
  bool IsSet(long match, long group) const { return Begin(match, group) != kUnset; }
  std::uint32_t Begin(long match, long group) const { return offsets_[Slot(match, group)]; }
  std::uint32_t End(long match, long group) const { return offsets_[Slot(match, group) + 1]; }
  // Where the match starts when the subject is counted in UTF-16 units.
  std::uint32_t Utf16Start(long match) const { return utf16Starts_[match]; }

 private:
  friend class CompiledRegex;
  std::size_t Slot(long match, long group) const {
    return (static_cast<std::size_t>(match) * static_cast<std::size_t>(groupCount_ + 1) +
            static_cast<std::size_t>(group)) *
           2;
  }

  long groupCount_ = 0;
  std::vector<std::uint32_t> offsets_;
  std::vector<std::uint32_t> utf16Starts_;
};

class CompiledRegex {
 public:
  // Null for a pattern the engine rejects (or that is not valid UTF-8).
  static std::unique_ptr<CompiledRegex> Compile(std::string_view utf8Pattern,
                                                const RegexOptions& options);
  ~CompiledRegex();
  CompiledRegex(const CompiledRegex&) = delete;
  CompiledRegex& operator=(const CompiledRegex&) = delete;

  long GroupCount() const;

  // Every match over `utf8Subject` (only the first unless global). False when
  // the run could not complete: a backtracking or memory limit was reached,
  // or the subject is not valid UTF-8. Runaway patterns end here instead of
  // hanging the caller.
  bool FindAll(std::string_view utf8Subject, RegexMatches* out) const;

 private:
  struct Code;
  explicit CompiledRegex(Code* code, bool global);
  Code* code_;
  bool global_;
};

}  // namespace quillet
