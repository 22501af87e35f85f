#include "core/script/regex_replace.h"

namespace quillet {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendGroup(std::string* out, std::string_view subject, const RegexMatches& matches,
                 long match, long group) {
  if (!matches.IsSet(match, group)) return;
  std::uint32_t begin = matches.Begin(match, group);
  std::uint32_t end = matches.End(match, group);
  if (end > begin) out->append(subject.substr(begin, end - begin));
}

// Appends `replacement` for match `m`, expanding its dollar escapes. Returns
// nothing: an escape that names no group is copied literally.
void Expand(std::string* out, std::string_view subject, const RegexMatches& matches, long m,
            std::string_view replacement) {
  const long groups = matches.GroupCount();
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    char c = replacement[i];
    if (c != '$' || i + 1 >= replacement.size()) {
      out->push_back(c);
      continue;
    }
    char next = replacement[i + 1];
    if (next == '$') {
      out->push_back('$');
      ++i;
    } else if (next == '&') {
      AppendGroup(out, subject, matches, m, 0);
      ++i;
    } else if (next == '`') {
      std::uint32_t begin = matches.Begin(m, 0);
      out->append(subject.substr(0, begin));
      ++i;
    } else if (next == '\'') {
      std::uint32_t end = matches.End(m, 0);
      if (end < subject.size()) out->append(subject.substr(end));
      ++i;
    } else if (IsDigit(next)) {
      long one = next - '0';
      bool hasTwo = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
      long two = hasTwo ? one * 10 + (replacement[i + 2] - '0') : 0;
      if (hasTwo && two >= 1 && two <= groups) {
        AppendGroup(out, subject, matches, m, two);
        i += 2;
      } else if (one >= 1 && one <= groups) {
        AppendGroup(out, subject, matches, m, one);
        i += 1;
      } else {
        out->push_back('$');
      }
    } else {
      out->push_back('$');
    }
  }
}

}  // namespace

std::string ReplaceMatches(std::string_view utf8Subject, const RegexMatches& matches,
                           std::string_view utf8Replacement) {
  std::string out;
  out.reserve(utf8Subject.size());
  std::size_t copied = 0;
  for (long m = 0; m < matches.Count(); ++m) {
    std::size_t begin = matches.Begin(m, 0);
    std::size_t end = matches.End(m, 0);
    // A \K in a lookahead can report a start after the end; such a match
    // still replaces nothing before what was already copied.
    if (begin < copied) begin = copied;
    if (end < begin) end = begin;
    out.append(utf8Subject.substr(copied, begin - copied));
    Expand(&out, utf8Subject, matches, m, utf8Replacement);
    copied = end;
  }
  out.append(utf8Subject.substr(copied));
  return out;
}

}  // namespace quillet
