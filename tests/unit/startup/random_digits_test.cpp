#include "core/startup/random_digits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace quillet {
namespace {

struct CounterCase {
  std::uint64_t counter;
  long low;
  long high;
  long expected;  // worked out by hand from the formula
};

// 0x12345678 and 0x80000000 give a step whose bit 15 is set above the shift:
// without the 15-bit mask they would give 7 and 6.
constexpr CounterCase kCases[] = {
    {0x0, 0, 9, 8},
    {0x1, 0, 9, 1},
    {0xFFFFFFFF, 0, 9, 5},
    {0x12345678, 0, 9, 9},
    {0x80000000, 0, 9, 8},
    {0x100000001, 0, 9, 1},
    {0x12345678, 0, 99999, 13289},
    {0x0, 100, 100, 100},
    {0x1, -5, 5, 3},
};

TEST(RandomFromCounterTest, FollowsTheOneStepGenerator) {
  for (const CounterCase& c : kCases) {
    EXPECT_EQ(RandomFromCounter(c.counter, c.low, c.high), c.expected)
        << std::hex << c.counter << std::dec << " in " << c.low << ".." << c.high;
  }
}

TEST(RandomFromCounterTest, EmptyRangeGivesTheLowBoundInsteadOfDividingByZero) {
  EXPECT_EQ(RandomFromCounter(0x1234, 9, 0), 9);
  EXPECT_EQ(RandomFromCounter(0x1234, 0, -1), 0);
}

TEST(RandomFromCounterTest, EveryDigitIsReachableAndNothingElse) {
  std::set<long> seen;
  for (std::uint64_t counter = 0; counter < 5000; counter += 7) {
    const long d = RandomFromCounter(counter * 104729u, 0, 9);
    ASSERT_GE(d, 0);
    ASSERT_LE(d, 9);
    seen.insert(d);
  }
  EXPECT_EQ(seen.size(), 10u);
}

TEST(RandomDigitsTest, GivesExactlyTheCountOfDecimalDigits) {
  for (int count : {0, 1, 9, 40}) {
    const Text digits = RandomDigits(count);
    ASSERT_EQ(digits.size(), static_cast<std::size_t>(count));
    for (char c : digits) EXPECT_TRUE(c >= '0' && c <= '9') << digits;
  }
}

// Drawn back to back, the digits once repeated a two-digit cycle and account
// numbers collided; draws in a row must now look independent.
TEST(RandomDigitsTest, DrawsInQuickSuccessionDoNotRepeat) {
  std::set<Text> numbers;
  int periodic = 0;
  for (int i = 0; i < 200; ++i) {
    const Text digits = RandomDigits(9);
    numbers.insert(digits);
    if (digits.substr(1, 2) == digits.substr(3, 2) && digits.substr(3, 2) == digits.substr(5, 2) &&
        digits.substr(5, 2) == digits.substr(7, 2)) {
      ++periodic;
    }
  }
  EXPECT_GE(numbers.size(), 195u);
  EXPECT_LE(periodic, 2);
}

}  // namespace
}  // namespace quillet
