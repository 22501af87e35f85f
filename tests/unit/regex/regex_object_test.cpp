// RegexObject over code page 936 subjects: the page-head character-set
// pattern the web access relies on, the options, byte positions of matches
// and groups, replacement, copies and the inputs that must not hang.

#include "core/script/regex_object.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

struct CharsetCase {
  const char* pageHead;  // UTF-8 here, turned into code page 936
  const char* charset;   // group 1 of match 1; empty for no meta element
  long count;
};

class RegexCharset : public testing::TestWithParam<CharsetCase> {};

TEST_P(RegexCharset, FindsDeclaredCharacterSet) {
  const CharsetCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Create(kCharsetPattern, Gbk(c.pageHead)));
  EXPECT_EQ(regex.GetSubMatchText(1, 1), c.charset);
  EXPECT_EQ(regex.GetMatchCount(), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    PageHeads, RegexCharset,
    testing::Values(CharsetCase{"<html><head><meta http-equiv=\"Content-Type\" "
                                "content=\"text/html; charset=gbk\" /></head>",
                                "gbk", 1},
                    CharsetCase{"<HTML>\r\n<HEAD><META CHARSET=\"UTF-8\">", "UTF-8", 1},
                    CharsetCase{"<head>\n<title>中文标题</title>\n<meta content='text/html; "
                                "ChArSeT=GB2312' http-equiv='Content-Type'>",
                                "GB2312", 1},
                    CharsetCase{"<meta charset=utf-8><meta charset=gbk>", "utf-8", 2},
                    // The lazy part never crosses a line break (no dot-all).
                    CharsetCase{"<meta\ncharset=gbk>", "", 0},
                    CharsetCase{"<html><head><title>没有声明</title></head><body>", "", 0},
                    CharsetCase{"", "", 0}));

TEST(RegexObject, InvalidPatternFailsAndAnswersNothing) {
  for (const char* pattern : {"(abc", "[a-", "a{2,1}", "*a", "ab\\"}) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("b", "abc"));
    EXPECT_FALSE(regex.Create(pattern, "abc")) << pattern;
    EXPECT_EQ(regex.GetMatchCount(), 0) << pattern;
    EXPECT_EQ(regex.GetMatchText(1), "") << pattern;
    EXPECT_EQ(regex.GetSubMatchCount(), 0) << pattern;
    EXPECT_EQ(regex.Replace("x"), "") << pattern;
    EXPECT_EQ(regex.GetPattern(), pattern);
  }
}

struct OptionCase {
  const char* pattern;
  const char* subject;
  bool caseSensitive;
  bool multiline;
  bool global;
  long count;
  const char* replaced;  // Replace("#")
};

class RegexOptionsTable : public testing::TestWithParam<OptionCase> {};

TEST_P(RegexOptionsTable, CountAndReplaceFollowOptions) {
  const OptionCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Create(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global));
  EXPECT_EQ(regex.GetMatchCount(), c.count);
  EXPECT_EQ(regex.Replace("#"), c.replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexOptionsTable,
    testing::Values(OptionCase{"a", "banana", false, true, true, 3, "b#n#n#"},
                    OptionCase{"a", "banana", false, true, false, 1, "b#nana"},
                    OptionCase{"A", "bAnana", false, true, true, 3, "b#n#n#"},
                    OptionCase{"A", "bAnana", true, true, true, 1, "b#nana"},
                    OptionCase{"^x", "x1\nx2\r\nx3", false, true, true, 3, "#1\n#2\r\n#3"},
                    OptionCase{"^x", "x1\nx2\r\nx3", false, false, true, 1, "#1\nx2\r\nx3"},
                    OptionCase{"\\d$", "x1\nx2", false, true, true, 2, "x#\nx#"},
                    OptionCase{"\\d$", "x1\nx2\n", false, false, true, 0, "x1\nx2\n"}));

TEST(RegexObject, QuoteMarkerStandsForDoubleQuote) {
  const Text pattern = Gbk("id=#引号(\\w+)#引号");
  const Text subject = "<a id=\"top\">";
  RegexObject regex;
  ASSERT_TRUE(regex.Create(pattern, subject, false, true, true, true));
  EXPECT_EQ(regex.GetPattern(), "id=\"(\\w+)\"");
  EXPECT_EQ(regex.GetSubMatchText(1, 1), "top");

  ASSERT_TRUE(regex.Create(pattern, subject));
  EXPECT_EQ(regex.GetPattern(), pattern);
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

struct PositionCase {
  const char* subject;  // UTF-8 here, turned into code page 936
  const char* pattern;
  long index;
  const char* text;
  long position;
};

class RegexMatchPosition : public testing::TestWithParam<PositionCase> {};

TEST_P(RegexMatchPosition, GivesTextAndByteOffset) {
  const PositionCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Create(Gbk(c.pattern), Gbk(c.subject)));
  long position = 12345;
  EXPECT_EQ(regex.GetMatchText(c.index, &position), Gbk(c.text));
  EXPECT_EQ(position, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexMatchPosition,
    testing::Values(PositionCase{"aXbXc", "X", 1, "X", 1}, PositionCase{"aXbXc", "X", 2, "X", 3},
                    PositionCase{"aXbXc", "X", 0, "", 0}, PositionCase{"aXbXc", "X", 3, "", 0},
                    PositionCase{"XX", "X", 2, "X", 1},
                    // Chinese characters are one unit for the engine, two bytes here.
                    PositionCase{"中文ab", "b", 1, "b", 5},
                    PositionCase{"汉字x汉字y", "y", 1, "y", 9},
                    PositionCase{"说明：中文", "中文", 1, "中文", 6},
                    PositionCase{"说明：中文", "(明)：", 1, "明：", 2},
                    // The unit index only bounds the offset from below: the first
                    // "b" from byte 4 on is the one at 4, not the match's own at 6.
                    PositionCase{"中中bab", "b", 2, "b", 4},
                    // Empty matches: 0 inside the subject, -2 at its end.
                    PositionCase{"ab", "x*", 1, "", 0}, PositionCase{"ab", "x*", 3, "", -2},
                    PositionCase{"", "x", 1, "", -2}));

TEST(RegexObject, PositionsDeepInDoubleByteTextStayOnCharacterBoundaries) {
  // "中" is D6 D0 and "兄" D0 D6: read from a trail byte, a run of "中" looks
  // like a run of "兄". "丂" is 81 40, its trail byte an "@".
  const struct {
    const char* repeated;
    const char* last;
  } cases[] = {{"中", "兄"}, {"丂", "@"}};
  for (const auto& c : cases) {
    Text subject = "a";
    for (int i = 0; i < 5000; ++i) subject += Gbk(c.repeated);
    subject += Gbk(c.last);
    subject += Gbk(c.last);
    RegexObject regex;
    ASSERT_TRUE(regex.Create(Gbk(c.last), subject));
    ASSERT_EQ(regex.GetMatchCount(), 2) << c.last;
    long position = -1;
    EXPECT_EQ(regex.GetMatchText(1, &position), Gbk(c.last));
    EXPECT_EQ(position, 10001) << c.last;
    // The second match starts one unit later, still far before the first
    // one's bytes, so the search from there finds the first one again.
    regex.GetMatchText(2, &position);
    EXPECT_EQ(position, 10001) << c.last;
  }
}

TEST(RegexObject, GroupTextAndPositionSearchFromMatchStart) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("a(a)", "aa"));
  long position = -99;
  EXPECT_EQ(regex.GetSubMatchText(1, 1, &position), "a");
  EXPECT_EQ(position, 0);

  ASSERT_TRUE(regex.Create(Gbk("(中)(x)?(文)"), Gbk("abc中文")));
  EXPECT_EQ(regex.GetSubMatchCount(), 3);
  EXPECT_EQ(regex.GetSubMatchText(1, 3, &position), Gbk("文"));
  EXPECT_EQ(position, 5);
  // A group that took no part, group 0, and groups or matches out of range.
  const struct {
    long match;
    long group;
  } missing[] = {{1, 2}, {1, 0}, {1, 4}, {2, 1}, {0, 1}, {-1, -1}};
  for (const auto& m : missing) {
    position = -99;
    EXPECT_EQ(regex.GetSubMatchText(m.match, m.group, &position), "");
    EXPECT_EQ(position, 0) << m.match << "," << m.group;
  }
}

TEST(RegexObject, EmptyObjectAnswersNothing) {
  RegexObject regex;
  long position = 7;
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(regex.GetMatchText(1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(regex.GetSubMatchText(1, 1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(regex.Replace("x"), "");

  ASSERT_TRUE(regex.Create("z", "abc"));
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(regex.Replace("x"), "abc");
  regex.Destroy();
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.Replace("x"), "");
}

struct ObjectReplaceCase {
  const char* pattern;
  const char* subject;
  const char* replacement;
  const char* expected;
};

class RegexObjectReplace : public testing::TestWithParam<ObjectReplaceCase> {};

TEST_P(RegexObjectReplace, ReplacesInCodePage936) {
  const ObjectReplaceCase& c = GetParam();
  RegexObject regex;
  ASSERT_TRUE(regex.Create(Gbk(c.pattern), Gbk(c.subject)));
  EXPECT_EQ(regex.Replace(Gbk(c.replacement)), Gbk(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexObjectReplace,
    testing::Values(ObjectReplaceCase{"(\\w+)=(\\w+)", "a=1; b=2", "$2=$1", "1=a; 2=b"},
                    ObjectReplaceCase{"(中)文", "中文和中文", "<$1>", "<中>和<中>"},
                    ObjectReplaceCase{"\\d", "第1页共2页", "", "第页共页"},
                    ObjectReplaceCase{"页", "第1页", "$&$&", "第1页页"}));

TEST(RegexObject, ReplaceWithoutArgumentRemovesMatches) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create("\\s+", "a b\tc"));
  EXPECT_EQ(regex.Replace(), "abc");
}

TEST(RegexObject, CopySharesMatchesUntilItsOwnCreate) {
  RegexObject original;
  ASSERT_TRUE(original.Create("b", "abcb"));
  RegexObject copy = original.Copy();
  EXPECT_EQ(copy.GetMatchCount(), 2);
  EXPECT_EQ(copy.GetPattern(), "b");

  ASSERT_TRUE(copy.Create("(z)", "zzz"));
  EXPECT_EQ(copy.GetMatchCount(), 3);
  EXPECT_EQ(copy.Replace("y"), "yyy");

  long position = -1;
  EXPECT_EQ(original.GetMatchCount(), 2);
  EXPECT_EQ(original.GetPattern(), "b");
  EXPECT_EQ(original.GetSubMatchCount(), 0);
  EXPECT_EQ(original.GetMatchText(2, &position), "b");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(original.Replace("x"), "axcx");

  original.Destroy();
  EXPECT_EQ(original.GetMatchCount(), 0);
  EXPECT_EQ(copy.GetMatchText(3, &position), "z");
  EXPECT_EQ(position, 2);
}

TEST(RegexObject, CatastrophicPatternsReturn) {
  RegexObject regex;
  regex.Create("(a*)*b", std::string(30, 'a'));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  // The run is cut off: a failure, not a hang and not a false "no match".
  EXPECT_FALSE(regex.Create("^(a+)+$", std::string(40, 'a') + "!"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.Replace("x"), "");
}

TEST(RegexObject, TenMebibyteSubject) {
  const std::size_t words = (10u << 20) / 5;
  std::string subject;
  subject.reserve(words * 5);
  for (std::size_t i = 0; i < words; ++i) subject += "word ";

  RegexObject regex;
  ASSERT_TRUE(regex.Create("(\\w+)\\s", subject));
  ASSERT_EQ(regex.GetMatchCount(), static_cast<long>(words));
  long position = -1;
  EXPECT_EQ(regex.GetSubMatchText(static_cast<long>(words), 1, &position), "word");
  EXPECT_EQ(position, static_cast<long>((words - 1) * 5));

  ASSERT_TRUE(regex.Create(".*", subject));
  EXPECT_EQ(regex.GetMatchText(1).size(), subject.size());

  // One group repetition per character: deep backtracking state, which the
  // limits turn into a failure instead of a stack overflow.
  const std::string letters(10u << 20, 'a');
  EXPECT_FALSE(regex.Create("(a|b)*c", letters));
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObject, StopsAtZeroByte) {
  RegexObject regex;
  ASSERT_TRUE(regex.Create(std::string_view("b\0c", 3), std::string_view("ab\0b", 4)));
  EXPECT_EQ(regex.GetPattern(), "b");
  EXPECT_EQ(regex.GetMatchCount(), 1);
}

}  // namespace
}  // namespace quillet
