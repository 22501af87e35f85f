#include <gtest/gtest.h>

#include "core/text/encodings.h"

namespace quillet {
namespace {

TEST(UrlDecode, Table) {
  const struct {
    const char* name;
    Text text;
    bool fromUtf8;
    Text expected;
  } cases[] = {
      {"escape", "%41", false, "A"},
      {"space and plus", "a%20b+c", false, "a b+c"},
      {"lower case digits", "%e4%b8%ad", false, "\xE4\xB8\xAD"},
      {"not hex", "%zz", false, "\xDE"},
      {"first not hex", "%G1", false, "\xE1"},
      {"one digit at end", "%4", false, "\x40"},
      {"lone percent at end", "ab%", false, "ab"},
      {"decoded zero adds nothing", "a%00b", false, "ab"},
      {"second digit not hex", "%4z", false, "\x3E"},
      {"double byte passes", "\xD6\xD0%41", false,
       "\xD6\xD0"
       "A"},
      {"percent consumes two bytes", "%%41", false,
       "\xE4"
       "1"},
      {"utf8", "%E4%B8%AD", true, "\xD6\xD0"},
      {"utf8 mixed", "x%E6%96%87+", true, "x\xCE\xC4+"},
      {"utf8 broken", "%E4%B8", true, "?"},
      {"empty", "", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UrlDecode(c.text, c.fromUtf8), c.expected);
  }
}

}  // namespace
}  // namespace quillet
