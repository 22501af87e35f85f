// 1,000 sequential GET requests to a loopback server: through
// HttpObjectRequest, and through a bare libcurl loop that also makes a new
// easy handle per request. The ratio shows what the routine's own work
// (header building, normalising, cookie collection, the transfer wrapper)
// costs on top of libcurl.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>

#include "core/net/http_object_request.h"
#include "raw_http_server.h"

namespace {

using quillet::test::MakeResponse;
using quillet::test::RawHttpServer;
using quillet::test::RecordedRequest;
using quillet::test::ScriptedReply;

constexpr int kRequests = 1000;

RawHttpServer& Server() {
  static RawHttpServer server([](const RecordedRequest&) {
    return ScriptedReply{
        MakeResponse(200, "OK", {"Set-Cookie: a=1; Path=/"}, std::string(2048, 'x'))};
  });
  return server;
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

double g_ours = 0;
double g_curl = 0;

void BM_HttpObjectRequest(benchmark::State& state) {
  const std::string url = Server().Url("/bench");
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (int i = 0; i < kRequests; ++i) {
      bytes += quillet::HttpObjectRequest({.url = url}).size();
    }
  }
  benchmark::DoNotOptimize(bytes);
  state.counters["requests"] = kRequests;
}

void BM_BareCurl(benchmark::State& state) {
  const std::string url = Server().Url("/bench");
  for (auto _ : state) {
    for (int i = 0; i < kRequests; ++i) {
      CURL* h = curl_easy_init();
      curl_easy_setopt(h, CURLOPT_URL, url.c_str());
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Discard);
      curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
      curl_easy_perform(h);
      curl_easy_cleanup(h);
    }
  }
  state.counters["requests"] = kRequests;
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const double perIteration = run.GetAdjustedRealTime();
      if (run.benchmark_name().find("HttpObjectRequest") != std::string::npos)
        g_ours = perIteration;
      if (run.benchmark_name().find("BareCurl") != std::string::npos) g_curl = perIteration;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

BENCHMARK(BM_HttpObjectRequest)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareCurl)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (g_curl > 0) {
    std::printf("HttpObjectRequest / bare libcurl (1000 sequential GETs): %.3fx\n",
                g_ours / g_curl);
  }
  benchmark::Shutdown();
  curl_global_cleanup();
  return 0;
}
