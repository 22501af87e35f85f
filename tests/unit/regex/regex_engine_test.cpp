// The PCRE2 layer on its own, over UTF-8: the ECMAScript flavour of the
// grammar, how a global run steps past empty matches, the UTF-16 start that
// positions are built from, and the limits that stop runaway runs.

#include "core/script/regex_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/script/regex_replace.h"

namespace quillet {
namespace {

std::vector<std::string> MatchTexts(std::string_view pattern, std::string_view subject,
                                    RegexOptions options = {}) {
  auto regex = CompiledRegex::Compile(pattern, options);
  EXPECT_NE(regex, nullptr) << pattern;
  std::vector<std::string> texts;
  if (regex == nullptr) return texts;
  RegexMatches matches;
  EXPECT_TRUE(regex->FindAll(subject, &matches)) << pattern;
  for (long m = 0; m < matches.Count(); ++m) {
    texts.emplace_back(
        subject.substr(matches.Begin(m, 0), matches.End(m, 0) - matches.Begin(m, 0)));
  }
  return texts;
}

struct GrammarCase {
  const char* pattern;
  const char* subject;
  std::vector<std::string> expected;
};

class RegexGrammar : public testing::TestWithParam<GrammarCase> {};

TEST_P(RegexGrammar, FindsWhatEcmaScriptFinds) {
  const GrammarCase& c = GetParam();
  EXPECT_EQ(MatchTexts(c.pattern, c.subject), c.expected) << c.pattern << " over " << c.subject;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexGrammar,
    testing::Values(
        // Empty matches: one per position, the run steps one character on.
        GrammarCase{"x*", "ab", {"", "", ""}},
        // After a non-empty match an empty one may follow at its end.
        GrammarCase{"a*", "aab", {"aa", "", ""}},
        // ... but an empty match is not retried as a non-empty one at the same place.
        GrammarCase{"a*|b", "aab", {"aa", "", ""}}, GrammarCase{".*", "abc", {"abc", ""}},
        // Stepping past an empty match steps a whole character, not a byte.
        GrammarCase{"x*", "中", {"", ""}}, GrammarCase{"\\u0041\\x42", "zAB", {"AB"}},
        // A back reference to a group that has not matched matches nothing.
        GrammarCase{"\\1(a)", "a", {"a"}}, GrammarCase{"a[^]b", "a\nb", {"a\nb"}},
        GrammarCase{"a[]b", "ab", {}},
        // No dot-all: the dot takes neither line feed nor carriage return.
        GrammarCase{"a.b", "a\nb a\rb axb", {"axb"}}, GrammarCase{"\\w+", "été", {"t"}},
        GrammarCase{"\\d+|\\s", "12 ٣4", {"12", " ", "4"}},
        GrammarCase{"(?:ab)+?c|(?=x)x", "ababc x", {"ababc", "x"}},
        GrammarCase{"(?<=\\$)\\d+", "a$12 13", {"12"}},
        GrammarCase{"^\\w", "ab\ncd\r\nef", {"a", "c", "e"}}));

TEST(RegexEngine, OptionsChangeAnchorsAndCase) {
  EXPECT_EQ(MatchTexts("^\\w", "ab\ncd", RegexOptions{false, false, true}),
            std::vector<std::string>{"a"});
  // Without multi-line "$" is the very end, not before a last line feed.
  EXPECT_TRUE(MatchTexts("b$", "ab\n", RegexOptions{false, false, true}).empty());
  EXPECT_EQ(MatchTexts("b$", "ab\n", RegexOptions{false, true, true}),
            std::vector<std::string>{"b"});
  EXPECT_EQ(MatchTexts("AB", "ab Ab", RegexOptions{true, true, true}), std::vector<std::string>{});
  EXPECT_EQ(MatchTexts("AB", "ab Ab", RegexOptions{false, true, false}),
            std::vector<std::string>{"ab"});
}

TEST(RegexEngine, Utf16StartCountsSurrogatePairsTwice) {
  auto regex = CompiledRegex::Compile("x", {});
  ASSERT_NE(regex, nullptr);
  RegexMatches matches;
  // é: 1 unit, 中: 1 unit, U+1F600: 2 units.
  ASSERT_TRUE(regex->FindAll("x\u00e9\u4e2dx\U0001F600x", &matches));
  ASSERT_EQ(matches.Count(), 3);
  EXPECT_EQ(matches.Utf16Start(0), 0u);
  EXPECT_EQ(matches.Utf16Start(1), 3u);
  EXPECT_EQ(matches.Utf16Start(2), 6u);
}

TEST(RegexEngine, RejectsBrokenPatternsAndSubjects) {
  for (const char* pattern : {"(abc", "abc)", "[b-a]", "*a", "a{2,1}", "\\", "\xff"}) {
    EXPECT_EQ(CompiledRegex::Compile(pattern, {}), nullptr) << pattern;
  }
  auto regex = CompiledRegex::Compile("a", {});
  ASSERT_NE(regex, nullptr);
  RegexMatches matches;
  EXPECT_FALSE(regex->FindAll("a\xff", &matches));
  EXPECT_EQ(matches.Count(), 0);
}

TEST(RegexEngine, RunawayBacktrackingFailsInsteadOfHanging) {
  auto regex = CompiledRegex::Compile("^(a+)+$", {});
  ASSERT_NE(regex, nullptr);
  RegexMatches matches;
  EXPECT_FALSE(regex->FindAll(std::string(40, 'a') + "!", &matches));
  EXPECT_EQ(matches.Count(), 0);
}

struct ReplaceCase {
  const char* pattern;
  const char* subject;
  const char* replacement;
  const char* expected;
};

class RegexReplace : public testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplace, ExpandsDollarEscapes) {
  const ReplaceCase& c = GetParam();
  auto regex = CompiledRegex::Compile(c.pattern, {});
  ASSERT_NE(regex, nullptr);
  RegexMatches matches;
  ASSERT_TRUE(regex->FindAll(c.subject, &matches));
  EXPECT_EQ(ReplaceMatches(c.subject, matches, c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexReplace,
    testing::Values(
        ReplaceCase{"(\\w+)@(\\w+)", "me@host you@there", "$2 at $1", "host at me there at you"},
        ReplaceCase{"(a)", "xay", "[$$][$&][$1][$2][$0][$`][$']", "x[$][a][a][$2][$0][x][y]y"},
        // Two digits only when there are that many groups.
        ReplaceCase{"(a)", "a", "$10", "a0"},
        ReplaceCase{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", "$10$1", "ja"},
        // A group that took no part gives nothing.
        ReplaceCase{"(x)?b", "ab", "<$1>", "a<>"}, ReplaceCase{"x*", "ab", "-", "-a-b-"},
        ReplaceCase{"z", "ab", "-", "ab"}, ReplaceCase{"b", "abc", "$", "a$c"}));

}  // namespace
}  // namespace quillet
