#include "core/startup/random_digits.h"

#include <chrono>
#include <random>

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

// Consecutive counter readings a few cycles apart differ by an almost
// constant step, which the one-step generator turns into a short cycle:
// nine digits drawn in a row came out as "583838383", and two learners
// registering at about the same time drew colliding account numbers. Each
// reading is therefore mixed with fresh system entropy (SplitMix64's
// finaliser) before the step.
std::uint64_t MixedCounter() {
  std::random_device entropy;
  std::uint64_t z = ReadCounter() ^ (static_cast<std::uint64_t>(entropy()) << 32 | entropy());
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
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

long RandomInRange(long low, long high) { return RandomFromCounter(MixedCounter(), low, high); }

Text RandomDigits(int count) {
  Text digits;
  for (int i = 0; i < count; ++i) {
    digits += static_cast<char>('0' + RandomInRange(0, 9));
  }
  return digits;
}

}  // namespace quillet
