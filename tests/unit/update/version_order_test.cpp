#include "core/update/version_order.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(VersionOrder, ComparesDottedNumbersNumerically) {
  const struct {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"1.0.0.0", "1.0.0.1", -1},
      {"1.0.0.1", "1.0.0.0", 1},
      {"1.0.0.0", "1.0.0.0", 0},
      {"1.0.0.9", "1.0.0.10", -1},  // byte-wise order would say the opposite
      {"1.0.0.10", "1.0.0.9", 1},
      {"2.0.0.0", "1.99.99.99", 1},
      {"1.0", "1.0.0.0", 0},  // missing parts count as 0
      {"1.0.0.0.1", "1.0.0.0", 1},
      {"01.002.0.0", "1.2.0.0", 0},  // leading zeros carry no weight
      {"1.0.0.99999999999999999999999", "1.0.0.99999999999999999999998", 1},  // no overflow
      {" 1.0.0.1\r\n", "1.0.0.1", 0},  // white space around is not part of it
      {"1.0.0.1a", "1.0.0.1", 1},      // rest of a part decides between equal numbers
      {"1.0.0.1a", "1.0.0.1b", -1},
      {"1.0.0.x", "1.0.0.0", 1},  // no digits: 0, then the rest
      {"1.0.0.x", "1.0.0.1", -1},
      {"", "", 0},
      {"", "0", 0},
      {"1..1", "1.0.1", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    const int order = CompareVersionTexts(c.a, c.b);
    EXPECT_EQ((order > 0) - (order < 0), c.expected);
    const int reverse = CompareVersionTexts(c.b, c.a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -c.expected);
  }
}

TEST(VersionOrder, NewerOnlyWhenBothVersionsAreKnown) {
  const struct {
    const char* published;
    const char* own;
    bool newer;
  } cases[] = {
      {"1.0.0.1", "1.0.0.0", true},  {"1.0.0.0", "1.0.0.0", false}, {"1.0.0.10", "1.0.0.9", true},
      {"1.0.0.8", "1.0.0.9", false}, {"", "1.0.0.0", false},  // no description: never an update
      {"  ", "1.0.0.0", false},                               // a blank one neither
      {"1.0.0.1", "", false},  // own version unreadable: no hand-over loop
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.published) + " over " + c.own);
    EXPECT_EQ(IsNewerVersion(c.published, c.own), c.newer);
  }
}

}  // namespace
}  // namespace quillet
