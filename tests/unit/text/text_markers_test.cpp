#include <gtest/gtest.h>

#include <climits>

#include "core/text/text.h"

namespace quillet {
namespace {

TEST(TextBetween, Table) {
  const Text page = "<a href=\"x.html\">one</a><a href=\"y.html\">two</a>";
  const struct {
    const char* name;
    Text text, left, right;
    long start;
    bool ignoreCase;
    Text expected;
  } cases[] = {
      {"first", page, "\">", "</a>", 1, false, "one"},
      {"from start", page, "\">", "</a>", 20, false, "two"},
      {"quote marker", page, Gbk("href=#引号"), Gbk("#引号>"), 1, false, "x.html"},
      {"missing left", page, "<b>", "</a>", 1, false, ""},
      {"missing right", page, "\">", "</b>", 1, false, ""},
      {"right only before left", "b]x[a", "[", "]", 1, false, ""},
      {"adjacent markers", "[]", "[", "]", 1, false, ""},
      {"ignore case", "<TITLE>t</Title>", "<title>", "</title>", 1, true, "t"},
      {"case kept", "<TITLE>t</Title>", "<title>", "</title>", 1, false, ""},
      {"empty right marker", "abc", "a", "", 1, false, ""},
      {"chinese markers", Gbk("共有12位会员"), Gbk("共有"), Gbk("位"), 1, false, "12"},
      {"straddling left marker", "\xD6\xD0\xCE\xC4x]", "\xD0\xCE", "]", 1, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected);
  }
}

TEST(TextLeftOf, Table) {
  EXPECT_EQ(TextLeftOf("key=value=x", "="), "key");
  EXPECT_EQ(TextLeftOf("key", "="), "");
  EXPECT_EQ(TextLeftOf("=x", "="), "");
  EXPECT_EQ(TextLeftOf("\xD6\xD0\xCE\xC4", "\xD0\xCE"), "");
}

TEST(TextAfterLast, Table) {
  const struct {
    const char* name;
    Text text, marker;
    long position;
    Text expected;
  } cases[] = {
      {"last", "a/b/c", "/", 0, "c"},
      {"missing", "abc", "/", 0, ""},
      {"ends with marker", "a/b/", "/", 0, ""},
      {"negative searches forward", "a/b/c", "/", -1, "b/c"},
      {"negative from position", "a/b/c", "/", -3, "c"},
      {"negative past all", "a/b/c", "/", -5, ""},
      {"positive limits backward search", "a/b/c", "/", 4, "c"},
      {"positive before last", "a/b/c", "/", 3, "b/c"},
      {"chinese", Gbk("目录\\文件"), "\\", 0, Gbk("文件")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextAfterLast(c.text, c.marker, c.position), c.expected);
  }
  EXPECT_EQ(TextAfterLast("a/b", "/", LONG_MIN), "");
}

TEST(CountOccurrences, Table) {
  EXPECT_EQ(CountOccurrences("slideImgTexts x SLIDEIMGTEXTS y", "slideImgTexts"), 2);
  EXPECT_EQ(CountOccurrences("slideImgTexts x SLIDEIMGTEXTS y", "slideImgTexts", true), 1);
  EXPECT_EQ(CountOccurrences("aaaa", "aa"), 2);  // non-overlapping
  EXPECT_EQ(CountOccurrences("", "a"), 0);
  EXPECT_EQ(CountOccurrences("abc", ""), 0);
  EXPECT_EQ(CountOccurrences("\xD6\xD0\xD6\xD0\xD6\xD0", "\xD0\xD6"), 0);
  EXPECT_EQ(CountOccurrences("\xB0\x61"
                             "a",
                             "A"),
            1);
}

}  // namespace
}  // namespace quillet
