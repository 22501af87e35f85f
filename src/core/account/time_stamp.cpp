#include "core/account/time_stamp.h"

#include <array>
#include <cctype>
#include <string>
#include <vector>

namespace quillet {
namespace {

constexpr std::int64_t kStampBaseOffsetSeconds = 8 * 3600;

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

int ParseSmall(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

int MonthFromName(std::string_view s) {
  static constexpr std::array<const char*, 12> kNames = {"jan", "feb", "mar", "apr", "may", "jun",
                                                         "jul", "aug", "sep", "oct", "nov", "dec"};
  if (s.size() < 3) return 0;
  for (int m = 0; m < 12; ++m) {
    bool same = true;
    for (int k = 0; k < 3; ++k) {
      if (std::tolower(static_cast<unsigned char>(s[k])) != kNames[m][k]) same = false;
    }
    if (same) return m + 1;
  }
  return 0;
}

bool ParseClock(std::string_view s, LocalDateTime& out) {
  // hh:mm:ss
  if (s.size() != 8 || s[2] != ':' || s[5] != ':') return false;
  const std::string_view h = s.substr(0, 2), m = s.substr(3, 2), sec = s.substr(6, 2);
  if (!IsDigits(h) || !IsDigits(m) || !IsDigits(sec)) return false;
  out.hour = ParseSmall(h);
  out.minute = ParseSmall(m);
  out.second = ParseSmall(sec);
  return out.hour < 24 && out.minute < 60 && out.second < 61;
}

int DaysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  // Count in years that start in March, so that the leap day ends a year.
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

std::int64_t SecondsSinceStampBase(const LocalDateTime& when) {
  return DaysFromCivil(when.year, when.month, when.day) * 86400 + when.hour * 3600 +
         when.minute * 60 + when.second - kStampBaseOffsetSeconds;
}

Text FormatTimeStamp(std::int64_t seconds, int millisecond) {
  if (millisecond < 0 || millisecond > 999) millisecond = 0;
  std::string ms = std::to_string(millisecond);
  ms.insert(0, 3 - ms.size(), '0');
  Text s = std::to_string(seconds) + ms;
  s.resize(10, '0');
  return s;
}

Text UnixTimeText(const Clock& clock) {
  const LocalDateTime now = clock.LocalNow();
  return FormatTimeStamp(SecondsSinceStampBase(now), now.millisecond);
}

std::optional<LocalDateTime> ParseHttpDate(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t k = 0;
  while (k < text.size()) {
    while (k < text.size() &&
           (text[k] == ' ' || text[k] == ',' || text[k] == '-' || text[k] == '\t')) {
      ++k;
    }
    const std::size_t begin = k;
    while (k < text.size() && text[k] != ' ' && text[k] != ',' && text[k] != '-' &&
           text[k] != '\t') {
      ++k;
    }
    if (k > begin) tokens.push_back(text.substr(begin, k - begin));
  }
  LocalDateTime out;
  bool haveClock = false;
  int month = 0, day = 0, year = -1;
  for (std::string_view t : tokens) {
    if (!haveClock && t.find(':') != std::string_view::npos) {
      if (!ParseClock(t, out)) return std::nullopt;
      haveClock = true;
    } else if (IsDigits(t) && t.size() <= 4) {
      const int v = ParseSmall(t);
      // The day comes before the year in all three forms, also in asctime
      // ("Sun Nov  6 08:49:37 1994") where the month leads.
      if (day == 0 && t.size() <= 2 && v >= 1 && v <= 31 && year < 0) {
        day = v;
      } else if (year < 0) {
        year = t.size() == 2 ? (v < 70 ? 2000 + v : 1900 + v) : v;
      } else {
        return std::nullopt;
      }
    } else if (month == 0 && MonthFromName(t) != 0 && t.size() == 3) {
      month = MonthFromName(t);
    }
  }
  if (!haveClock || month == 0 || day == 0 || year < 1601) return std::nullopt;
  if (day > DaysInMonth(year, month)) return std::nullopt;
  out.year = year;
  out.month = month;
  out.day = day;
  return out;
}

std::optional<Text> ServerClockTimeStamp(std::string_view responseHeaders) {
  const Text date = TextBetween(responseHeaders, "Date:", "\r\n");
  const std::optional<LocalDateTime> gmt = ParseHttpDate(date);
  if (!gmt) return std::nullopt;
  return FormatTimeStamp(SecondsSinceStampBase(*gmt) + 8 * 3600, 0);
}

}  // namespace quillet
