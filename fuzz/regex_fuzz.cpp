// Input: one byte of option bits, then the pattern up to the first line feed,
// then the subject. Both are taken as code page 936 bytes as they come.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/script/regex_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t cut = std::min(rest.find('\n'), rest.size());
  const std::string_view pattern = rest.substr(0, cut);
  const std::string_view subject = cut < rest.size() ? rest.substr(cut + 1) : std::string_view();

  quillet::RegexObject regex;
  regex.Create(pattern, subject, flags & 1, flags & 2, flags & 4, flags & 8);
  quillet::RegexObject copy = regex.Copy();
  const long matches = regex.GetMatchCount();
  const long groups = regex.GetSubMatchCount();
  long position = 0;
  for (long m = -1; m <= std::min(matches, 64L) + 1; ++m) {
    regex.GetMatchText(m, &position);
    for (long g = -1; g <= std::min(groups, 16L) + 1; ++g) copy.GetSubMatchText(m, g, &position);
  }
  regex.GetPattern();
  regex.Replace(subject.substr(0, std::min<std::size_t>(subject.size(), 16)));
  copy.Replace("[$1|$&|$$|$`|$'|$99|$0|$]");
  regex.Destroy();
  copy.GetMatchText(1, &position);
  return 0;
}
