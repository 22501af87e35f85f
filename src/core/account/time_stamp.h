#pragma once

// The "t" field of every account request: seconds since 1970-01-01 08:00:00
// counted on the wall clock (true Unix time only in UTC+8), then three
// millisecond digits, cut or padded to exactly 10 characters.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/platform/clock.h"
#include "core/text/text.h"

namespace quillet {

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// Seconds from the wall-clock moment 1970-01-01 08:00:00 to `when`; no time
// zone is consulted, both are plain calendar readings.
std::int64_t SecondsSinceStampBase(const LocalDateTime& when);

// `seconds` followed by the three digits of `millisecond`, first 10
// characters, padded on the right with "0".
Text FormatTimeStamp(std::int64_t seconds, int millisecond);

// The local clock's stamp.
Text UnixTimeText(const Clock& clock);

// Reads an HTTP date (RFC 1123, RFC 850 or asctime form, always GMT) into its
// calendar fields; nothing when it is not such a date.
std::optional<LocalDateTime> ParseHttpDate(std::string_view text);

// The stamp made from a web server's "Date:" header: the date plus 8 hours,
// "000" as milliseconds. Nothing when the headers carry no readable date.
std::optional<Text> ServerClockTimeStamp(std::string_view responseHeaders);

}  // namespace quillet
