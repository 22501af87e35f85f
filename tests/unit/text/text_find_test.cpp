#include <gtest/gtest.h>

#include "core/text/text.h"

namespace quillet {
namespace {

// "中文" is D6 D0 CE C4: the bytes D0 CE straddle the two characters.
const Text kZhongWen = "\xD6\xD0\xCE\xC4";

struct FindCase {
  const char* name;
  Text text;
  Text what;
  long start;
  bool ignoreCase;
  long forward;   // TextFind(text, what, start)
  long backward;  // TextFindLast(text, what, start)
};

TEST(TextFind, Table) {
  const FindCase cases[] = {
      {"plain", "abcabc", "bc", 1, false, 2, 5},
      {"start skips first", "abcabc", "bc", 3, false, 5, 2},
      {"start below one", "abcabc", "bc", -7, false, 2, 5},
      {"backward limit exact", "abcabc", "bc", 5, false, 5, 5},
      {"not found", "abcabc", "x", 1, false, -1, -1},
      {"start past end", "abc", "c", 10, false, -1, 3},
      {"case differs", "ABC", "b", 1, false, -1, -1},
      {"ignore case", "ABC", "b", 1, true, 2, 2},
      {"empty what in text", "abc", "", 2, false, 1, 1},
      {"empty what empty text", "", "", 1, false, -1, -1},
      {"what longer", "ab", "abc", 1, false, -1, -1},
      {"straddle never matches", kZhongWen, "\xD0\xCE", 1, false, -1, -1},
      {"straddle ignore case", kZhongWen, "\xD0\xCE", 1, true, -1, -1},
      {"whole character", kZhongWen, "\xCE\xC4", 1, false, 3, 3},
      {"start inside character", kZhongWen, "\xCE\xC4", 2, false, 3, -1},
      {"trail byte is a letter", "\xB0\x61", "a", 1, false, -1, -1},
      {"trail letter ignore case", "\xB0\x61", "A", 1, true, -1, -1},
      {"trail byte never folds", "x\xB0\x61", "X\xB0\x41", 1, true, -1, -1},
      {"ascii after chinese",
       "\xD6\xD0"
       "a\xD6\xD0"
       "a",
       "A", 1, true, 3, 6},
      {"overlapping backward", "aaa", "aa", 0, false, 1, 2},
      {"lead byte at end alone", "a\xD6", "\xD6", 1, false, 2, 2},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextFind(c.text, c.what, c.start, c.ignoreCase), c.forward);
    EXPECT_EQ(TextFindLast(c.text, c.what, c.start == 1 ? 0 : c.start, c.ignoreCase), c.backward);
  }
}

TEST(TextFind, StraddleAcrossManyCharactersNeverMatches) {
  // A run of "中" (D6 D0): "D0 D6" occurs at every even offset, a boundary never.
  Text text;
  for (int i = 0; i < 500; ++i) text += "\xD6\xD0";
  EXPECT_EQ(TextFind(text, "\xD0\xD6"), -1);
  EXPECT_EQ(TextFindLast(text, "\xD0\xD6"), -1);
  EXPECT_EQ(TextFindLast(text, "\xD6\xD0"), 999);
  EXPECT_FALSE(TextContains(text, "\xD0\xD6"));
  EXPECT_TRUE(TextContains(text + "x", "X", true));
}

struct ReplaceCase {
  const char* name;
  Text text, what, with;
  long start, count;
  bool ignoreCase;
  Text expected;
};

TEST(TextReplace, Table) {
  const ReplaceCase cases[] = {
      {"all", "a-b-c", "-", "+", 1, -1, false, "a+b+c"},
      {"count one", "a-b-c", "-", "+", 1, 1, false, "a+b-c"},
      {"count zero", "a-b-c", "-", "+", 1, 0, false, "a-b-c"},
      {"from start", "a-b-c", "-", "+", 3, -1, false, "a-b+c"},
      {"longer replacement", "aa", "a", "aa", 1, -1, false, "aaaa"},
      {"remove", "a--b", "-", "", 1, -1, false, "ab"},
      {"non overlapping", "aaa", "aa", "b", 1, -1, false, "ba"},
      {"ignore case", "xAx", "a", "b", 1, -1, true, "xbx"},
      {"exact case", "xAx", "a", "b", 1, -1, false, "xAx"},
      {"empty what", "abc", "", "z", 1, -1, false, "abc"},
      {"straddle untouched", kZhongWen, "\xD0\xCE", "!", 1, -1, false, kZhongWen},
      {"chinese whole", kZhongWen + kZhongWen, "\xCE\xC4", "!", 1, -1, false, "\xD6\xD0!\xD6\xD0!"},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextReplace(c.text, c.what, c.with, c.start, c.count, c.ignoreCase), c.expected);
  }
}

TEST(TextSplit, Table) {
  using Pieces = std::vector<Text>;
  const struct {
    Text text, separator;
    Pieces expected;
  } cases[] = {
      {"a,b,c", ",", {"a", "b", "c"}},
      {",a", ",", {"", "a"}},
      {"a,,b", ",", {"a", "", "b"}},
      {"a,", ",", {"a"}},
      {"a,,", ",", {"a", ""}},
      {",", ",", {""}},
      {"", ",", {}},
      {"abc", ",", {"abc"}},
      {"a\r\nb", "\r\n", {"a", "b"}},
      {kZhongWen, "\xD0\xCE", {kZhongWen}},
      {"\xD6\xD0|\xCE\xC4", "|", {"\xD6\xD0", "\xCE\xC4"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextSplit(c.text, c.separator), c.expected);
  }
}

}  // namespace
}  // namespace quillet
