// Account requests over loopback: sign-ins per second against the bundled
// server (real password hashing and SQLite), and the client's own cost per
// request beside a bare HttpObjectRequest POST of the same body to a peer
// that answers at once.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include "core/account/account_client.h"
#include "core/account/request_protocol.h"
#include "core/account/time_stamp.h"
#include "core/net/http_object_request.h"
#include "platform/linux/system_clock.h"
#include "quillet_server.h"

namespace {

using namespace quillet;

constexpr char kAppKey[] = "QuilletLocalDevelopmentKey2026AB";
constexpr char kSignInReply[] =
    R"({"code":200,"msg":{"token":"0123456789abcdef0123456789abcdef","name":"\u5c0f\u660e","account":"123456789"}})";

class NoIdentity final : public MachineIdentity {
 public:
  std::array<std::uint32_t, 4> ProcessorWords() const override { return {}; }
  std::optional<std::array<std::uint8_t, 6>> FirstAdapterAddress() const override { return {}; }
};

const SystemClock kClock;
const NoIdentity kIdentity;

AccountClient MakeClient(const std::string& baseUrl) {
  AccountClient client(AccountServices{&kClock, &kIdentity, baseUrl});
  client.Configure(baseUrl, "10000", kAppKey, "", "MACHINE0CODE0016", 1, 0);
  return client;
}

void BM_ServerSignIns(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("quillet_account_bench_" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  server::ServerConfig config;
  config.port = 0;
  config.dbPath = (folder / "accounts.db").string();
  config.account.appKey = kAppKey;
  {
    server::QuilletServer server(config);
    std::string error;
    if (!server.Start(&error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    const AccountClient client = MakeClient(server.BaseUrl());
    client.RegisterUser("123456789", "secret");
    for (auto _ : state) {
      if (client.LogOn("123456789", "secret") != 200) state.SkipWithError("sign-in refused");
    }
    state.SetItemsProcessed(state.iterations());
    server.Stop();
  }
  std::filesystem::remove_all(folder);
}

// A peer that answers every POST with a fixed sign-in reply.
class FixedReplyPeer {
 public:
  FixedReplyPeer() {
    server_.Post(".*", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kSignInReply, "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~FixedReplyPeer() {
    server_.stop();
    thread_.join();
  }
  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

double g_client = 0;
double g_bare = 0;

void BM_ClientLogOn(benchmark::State& state) {
  FixedReplyPeer peer;
  const AccountClient client = MakeClient(peer.BaseUrl());
  Text message;
  for (auto _ : state) benchmark::DoNotOptimize(client.LogOn("123456789", "secret", &message));
}

void BM_BareHttpObjectRequestPost(benchmark::State& state) {
  FixedReplyPeer peer;
  const Text form =
      "account=123456789&password=secret&markcode=MACHINE0CODE0016&t=" + UnixTimeText(kClock);
  HttpObjectRequestArgs args;
  args.url = BuildRequestUrl(peer.BaseUrl(), "user_logon", "10000");
  args.method = 1;
  args.postText = BuildRequestBody(form, true, kAppKey, "");
  for (auto _ : state) benchmark::DoNotOptimize(HttpObjectRequest(args));
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      if (name.find("BM_ClientLogOn") != std::string::npos) g_client = run.GetAdjustedRealTime();
      if (name.find("BM_BareHttpObjectRequestPost") != std::string::npos) {
        g_bare = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

BENCHMARK(BM_ServerSignIns)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ClientLogOn)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_BareHttpObjectRequestPost)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (g_bare > 0) {
    std::printf("AccountClient::LogOn / bare HttpObjectRequest POST of the same body: %.3fx\n",
                g_client / g_bare);
  }
  benchmark::Shutdown();
  return 0;
}
