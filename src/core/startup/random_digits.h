#pragma once

// The account number drawn for a registration: every call reseeds from the
// processor's time-stamp counter (mixed, see RandomInRange), one
// linear-congruential step, no state.

#include <cstdint>

#include "core/text/text.h"

namespace quillet {

// One step from a counter reading: low 32 bits x, r = ((x * 214013 +
// 2531011) mod 2^32) >> 16, low 15 bits; low + r mod (high - low + 1).
// When high is below low the range is empty and the result is low.
long RandomFromCounter(std::uint64_t counter, long low, long high);

// RandomFromCounter on the current time-stamp counter, mixed with system
// entropy so that draws in quick succession do not repeat a pattern.
long RandomInRange(long low, long high);

// `count` decimal digits, each drawn on its own; leading zeros possible.
Text RandomDigits(int count);

}  // namespace quillet
