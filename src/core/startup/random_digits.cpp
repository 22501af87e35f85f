#include "core/startup/random_digits.h"

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace quillet {

namespace {

std::uint64_t ReadCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  // Without a time-stamp counter the steady clock's ticks serve the same way.
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

long RandomFromCounter(std::uint64_t counter, long low, long high) {
  if (high < low) return low;
  const std::uint32_t x = static_cast<std::uint32_t>(counter);
  const std::uint32_t step = x * 214013u + 2531011u;  // wraps mod 2^32
  const long r = static_cast<long>((step >> 16) & 0x7FFFu);
  const long span = high - low + 1;
  return low + r % span;
}

long RandomInRange(long low, long high) { return RandomFromCounter(ReadCounter(), low, high); }

Text RandomDigits(int count) {
  Text digits;
  for (int i = 0; i < count; ++i) {
    digits += static_cast<char>('0' + RandomInRange(0, 9));
  }
  return digits;
}

}  // namespace quillet
