// RegexObject (PCRE2, JIT) beside std::regex (ECMAScript grammar) over the
// same 10 MiB code page 936 subject, on patterns std::regex gets through.
// Each pair prints "std::regex / RegexObject" time ratios at the end. The
// runaway patterns run for RegexObject only: std::regex would not come back.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <regex>
#include <string>

#include "core/script/regex_object.h"

namespace {

const std::string& Subject() {
  static const std::string subject = [] {
    // HTML-like lines with ASCII words, numbers, addresses and GBK text
    // (0xD6D0 0xCEC4 is "中文").
    const std::string line =
        "<p class=\"item\">user42@example.com \xD6\xD0\xCE\xC4 12345 lorem ipsum, "
        "<a href=\"/t/987\">thread</a> dolor 3.14</p>\r\n";
    std::string s;
    s.reserve((10u << 20) + line.size());
    while (s.size() < (10u << 20)) s += line;
    return s;
  }();
  return subject;
}

struct Case {
  const char* name;
  const char* pattern;
};

constexpr Case kCases[] = {
    {"digits", "\\d+"},
    {"email", "[a-z0-9]+@[a-z]+\\.com"},
    {"link", "<a href=\"([^\"]+)\">([^<]*)</a>"},
    {"rare_literal", "zebra"},
};

struct Total {
  double seconds = 0;
  long runs = 0;
};
std::map<std::string, Total>& Totals() {
  static std::map<std::string, Total> totals;
  return totals;
}

template <typename Run>
void Measure(benchmark::State& state, const std::string& key, Run run) {
  long matches = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    matches = run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    Totals()[key].seconds += elapsed.count();
    Totals()[key].runs += 1;
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(Subject().size()));
}

void BM_RegexObject(benchmark::State& state, const Case& c) {
  Measure(state, std::string(c.name) + "/quillet", [&] {
    quillet::RegexObject regex;
    regex.Create(c.pattern, Subject(), true);
    return regex.GetMatchCount();
  });
}

void BM_StdRegex(benchmark::State& state, const Case& c) {
  Measure(state, std::string(c.name) + "/std", [&] {
    const std::regex re(c.pattern, std::regex::ECMAScript);
    return static_cast<long>(std::distance(
        std::sregex_iterator(Subject().begin(), Subject().end(), re), std::sregex_iterator()));
  });
}

void BM_RegexObjectRunaway(benchmark::State& state, const char* pattern,
                           const std::string& subject) {
  bool ok = true;
  for (auto _ : state) {
    quillet::RegexObject regex;
    ok = regex.Create(pattern, subject);
    benchmark::DoNotOptimize(ok);
  }
  state.counters["created"] = ok ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("RegexObject/") + c.name).c_str(), BM_RegexObject, c)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("StdRegex/") + c.name).c_str(), BM_StdRegex, c)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  static const std::string nested = std::string(40, 'a') + "!";
  static const std::string letters(10u << 20, 'a');
  benchmark::RegisterBenchmark("RegexObjectRunaway/nested_plus_40", BM_RegexObjectRunaway,
                               "^(a+)+$", nested)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("RegexObjectRunaway/nested_star_30", BM_RegexObjectRunaway, "(a*)*b",
                               std::string(30, 'a'))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("RegexObjectRunaway/group_repeat_10MiB", BM_RegexObjectRunaway,
                               "(a|b)*c", letters)
      ->Unit(benchmark::kMillisecond);

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  for (const Case& c : kCases) {
    const Total& ours = Totals()[std::string(c.name) + "/quillet"];
    const Total& std = Totals()[std::string(c.name) + "/std"];
    if (ours.runs == 0 || std.runs == 0) continue;
    std::printf("ratio std::regex / RegexObject %-14s %.2f\n", c.name,
                (std.seconds / std.runs) / (ours.seconds / ours.runs));
  }
  return 0;
}
