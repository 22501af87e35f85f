// Parse + write back of the standard JSON corpora (canada: numbers,
// citm_catalog: objects and integers, twitter: texts with much non-ASCII)
// through JsonObject beside nlohmann::json and RapidJSON. JsonObject takes
// code page 936 text, so its input is the corpus converted once, outside the
// timed loop (characters code page 936 lacks, such as twitter's emoji, become
// "?"); the peers read the original UTF-8. Each run includes our conversions
// at the edges (code page 936 -> UTF-8 in, UTF-8 -> code page 936 out).
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "core/script/json_object.h"
#include "core/text/encodings.h"

namespace {

const char* const kCorpora[] = {"canada", "citm_catalog", "twitter"};

struct Corpus {
  bool present = false;
  std::string utf8;
  std::string gbk;
};

const Corpus& Load(const std::string& name) {
  static std::map<std::string, Corpus> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  Corpus& c = cache[name];
  std::ifstream in(std::string(QUILLET_BENCH_DATA_DIR) + "/json/" + name + ".json",
                   std::ios::binary);
  if (in) {
    c.utf8.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    c.gbk = quillet::Utf8ToAnsi(c.utf8);
    c.present = true;
  }
  return c;
}

void BM_Quillet(benchmark::State& state, std::string name) {
  const Corpus& c = Load(name);
  if (!c.present) {
    state.SkipWithError("corpus missing");
    return;
  }
  for (auto _ : state) {
    quillet::JsonObject o;
    if (!o.Parse(c.gbk)) state.SkipWithError("parse failed");
    quillet::Text text = o.ToText();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.utf8.size()));
}

void BM_Nlohmann(benchmark::State& state, std::string name) {
  const Corpus& c = Load(name);
  if (!c.present) {
    state.SkipWithError("corpus missing");
    return;
  }
  for (auto _ : state) {
    nlohmann::json j = nlohmann::json::parse(c.utf8);
    std::string text = j.dump();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.utf8.size()));
}

void BM_RapidJson(benchmark::State& state, std::string name) {
  const Corpus& c = Load(name);
  if (!c.present) {
    state.SkipWithError("corpus missing");
    return;
  }
  for (auto _ : state) {
    rapidjson::Document d;
    d.Parse(c.utf8.data(), c.utf8.size());
    if (d.HasParseError()) state.SkipWithError("parse failed");
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    d.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.utf8.size()));
}

// Prints our CPU time over each peer's per corpus after the usual table (CPU
// time: the machine is shared, wall time swings with the load).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With --benchmark_repetitions the median stands for the corpus.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_[name] = run.GetAdjustedCPUTime();
        medians_[name] = true;
      } else if (run.run_type == Run::RT_Iteration && !medians_[name]) {
        times_[name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    for (const char* corpus : kCorpora) {
      const auto ours = times_.find(std::string("Quillet/") + corpus);
      if (ours == times_.end()) continue;
      for (const char* peer : {"Nlohmann", "RapidJson"}) {
        const auto other = times_.find(std::string(peer) + "/" + corpus);
        if (other == times_.end()) continue;
        std::printf("ratio %-14s quillet/%-9s = %.2f\n", corpus, peer,
                    ours->second / other->second);
      }
    }
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  for (const char* corpus : kCorpora) {
    benchmark::RegisterBenchmark((std::string("Quillet/") + corpus).c_str(), BM_Quillet, corpus)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("Nlohmann/") + corpus).c_str(), BM_Nlohmann, corpus)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("RapidJson/") + corpus).c_str(), BM_RapidJson, corpus)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
