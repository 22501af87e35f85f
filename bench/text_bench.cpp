// Code page 936 <-> UTF-8 (and UTF-16) through our wrappers beside a bare
// iconv loop over the same 1 MiB mixed Chinese/ASCII text. The wrappers add
// replacement handling, terminator rules and per-thread descriptor caching; the
// printed ratios show what that costs.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>

#include "core/text/encodings.h"
#include "core/text/text.h"

namespace {

using quillet::Text;

// Chinese characters from the fully assigned rows B0..D6 of the GB2312 block with ASCII words and
// punctuation between them, about like a scraped forum page.
const Text& MixedGbkText() {
  static const Text text = [] {
    std::mt19937 rng(936);
    const char* words[] = {"java", " ", "class", "<a href=\"x\">", "123", "\r\n", "Hello"};
    Text t;
    while (t.size() < (1u << 20) - 16) {
      if (rng() % 3 == 0) {
        t += words[rng() % 7];
      } else {
        t.push_back(static_cast<char>(0xB0 + rng() % 39));
        t.push_back(static_cast<char>(0xA1 + rng() % 94));
      }
    }
    return t;
  }();
  return text;
}

const Text& MixedUtf8Text() {
  static const Text text = quillet::AnsiToUtf8(MixedGbkText());
  return text;
}

// The peer: one descriptor opened up front, one output buffer per call.
std::string RawIconv(iconv_t cd, const std::string& in, std::size_t capacity) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(capacity, '\0');
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (inLeft != 0) std::abort();  // the corpus is valid; a stop would skew the figures
  out.resize(out.size() - outLeft);
  return out;
}

void BM_Ours_GbkToUtf8(benchmark::State& state) {
  const Text& in = MixedGbkText();
  for (auto _ : state) benchmark::DoNotOptimize(quillet::AnsiToUtf8(in));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_RawIconv_GbkToUtf8(benchmark::State& state) {
  const Text& in = MixedGbkText();
  iconv_t cd = iconv_open("UTF-8", "CP936");
  for (auto _ : state) benchmark::DoNotOptimize(RawIconv(cd, in, in.size() * 2));
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_Ours_Utf8ToGbk(benchmark::State& state) {
  const Text& in = MixedUtf8Text();
  for (auto _ : state) benchmark::DoNotOptimize(quillet::Utf8ToAnsi(in));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_RawIconv_Utf8ToGbk(benchmark::State& state) {
  const Text& in = MixedUtf8Text();
  iconv_t cd = iconv_open("CP936", "UTF-8");
  for (auto _ : state) benchmark::DoNotOptimize(RawIconv(cd, in, in.size() + 16));
  iconv_close(cd);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_Ours_GbkToUtf16ToGbk(benchmark::State& state) {
  const Text& in = MixedGbkText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(quillet::Utf16ToAnsi(quillet::AnsiToUtf16(in)));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_RawIconv_GbkToUtf16ToGbk(benchmark::State& state) {
  const Text& in = MixedGbkText();
  iconv_t toWide = iconv_open("UTF-16LE", "CP936");
  iconv_t fromWide = iconv_open("CP936", "UTF-16LE");
  for (auto _ : state) {
    const std::string wide = RawIconv(toWide, in, in.size() * 2 + 2);
    benchmark::DoNotOptimize(RawIconv(fromWide, wide, in.size() + 16));
  }
  iconv_close(toWide);
  iconv_close(fromWide);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

BENCHMARK(BM_Ours_GbkToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_GbkToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_Utf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_Utf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours_GbkToUtf16ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawIconv_GbkToUtf16ToGbk)->Unit(benchmark::kMillisecond);

// Prints "ours / raw iconv" for each pair once the runs are done, on CPU time
// since the build machine is shared and wall time swings with its load.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // With repetitions the median stands for the pair; otherwise the one run.
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || run.run_type == Run::RT_Iteration) {
        times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    for (const auto& [name, time] : times_) {
      const std::string prefix = "BM_Ours_";
      if (name.rfind(prefix, 0) != 0) continue;
      const auto peer = times_.find("BM_RawIconv_" + name.substr(prefix.size()));
      if (peer == times_.end() || peer->second <= 0) continue;
      std::printf("ratio %-20s ours/raw iconv = %.3f\n", name.substr(prefix.size()).c_str(),
                  time / peer->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
