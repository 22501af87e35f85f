// Slide-show scraping of the community home page: the one-pass scan that the
// home page uses against its peer, one TextBetween search per slide (each
// search starts again at the top of the page). Both give the same titles;
// the printed ratio is peer time / our time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/home/slide_script.h"
#include "core/text/text.h"

namespace {

using quillet::Text;

// A home page of about `padding` bytes of ordinary markup with `slides`
// entries in its script block, as the site serves it (after decoding).
std::string MakePage(int slides, int padding) {
  std::string page = "<html><body>";
  while (static_cast<int>(page.size()) < padding) {
    page += quillet::Gbk("<div class=\"post\">帖子标题 Java 入门</div>\n");
  }
  page += "<script>var slideImgTexts = new Array();\n";
  for (int n = 1; n <= slides; ++n) {
    page += "slideImgTexts[" + std::to_string(n) + "] = '" + quillet::Gbk("标题") +
            std::to_string(n) + "';\n";
  }
  return page + "</script></body></html>";
}

std::vector<Text> PeerValues(const std::string& page, long count) {
  std::vector<Text> values;
  for (long n = 1; n <= count; ++n) {
    values.push_back(
        quillet::TextBetween(page, "slideImgTexts[" + std::to_string(n) + "] = '", "'"));
  }
  return values;
}

void Ours(benchmark::State& state) {
  const std::string page = MakePage(static_cast<int>(state.range(0)), 200000);
  for (auto _ : state) {
    const long count = quillet::SlideCount(page, quillet::kSlideTextsArray);
    benchmark::DoNotOptimize(quillet::SlideValues(page, quillet::kSlideTextsArray, count));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void Peer(benchmark::State& state) {
  const std::string page = MakePage(static_cast<int>(state.range(0)), 200000);
  for (auto _ : state) {
    const long count = quillet::SlideCount(page, quillet::kSlideTextsArray);
    benchmark::DoNotOptimize(PeerValues(page, count));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

BENCHMARK(Ours)->Arg(5)->Arg(500)->Unit(benchmark::kMicrosecond);
BENCHMARK(Peer)->Arg(5)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace

// Prints "peer/ours" CPU-time ratios per slide count after the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const std::size_t slash = name.find('/');
      if (slash == std::string::npos) continue;
      (name.compare(0, slash, "Ours") == 0 ? ours_ : peer_)[name.substr(slash + 1)] =
          run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [slides, time] : ours_) {
      if (peer_.count(slides) && time > 0) {
        std::printf("slides %s: peer/ours CPU time ratio %.1f\n", slides.c_str(),
                    peer_[slides] / time);
      }
    }
  }

 private:
  std::map<std::string, double> ours_, peer_;
};

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
