// RunAndCapture beside the plainest way to read a child's output (a blocking
// read loop over a pipe from the same command), and how soon the handler
// sees a piece after the child wrote it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "core/javaenv/run_and_capture.h"
#include "platform/linux/shell_process_runner.h"

extern char** environ;

namespace {

constexpr std::size_t kOutputBytes = 200u << 20;
const std::string kCommand = "yes | head -c " + std::to_string(kOutputBytes);

// The peer: /bin/sh -c, one pipe, read until the end, append.
std::string BareReadLoop(const std::string& command) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t pid = 0;
  posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string out;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return out;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// CPU time of the reading thread: what the reader itself costs, apart from
// the time spent waiting for a busy machine to run the writer.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_CaptureBesideBareReadLoop(benchmark::State& state) {
  quillet::ShellProcessRunner runner;
  quillet::SleepingEventPump pump;
  double ours = 0, bare = 0, oursCpu = 0, bareCpu = 0;
  for (auto _ : state) {
    const double c0 = ThreadCpuSeconds();
    auto t0 = std::chrono::steady_clock::now();
    const std::string peer = BareReadLoop(kCommand);
    auto t1 = std::chrono::steady_clock::now();
    const double c1 = ThreadCpuSeconds();
    const quillet::Text captured = quillet::RunAndCapture(runner, pump, kCommand, nullptr, false);
    auto t2 = std::chrono::steady_clock::now();
    const double c2 = ThreadCpuSeconds();
    bareCpu += c1 - c0;
    oursCpu += c2 - c1;
    if (peer.size() != kOutputBytes || captured != peer) {
      state.SkipWithError("outputs differ");
      return;
    }
    bare += Seconds(t1 - t0);
    ours += Seconds(t2 - t1);
  }
  state.counters["bare_MiB_per_s"] = static_cast<double>(state.iterations()) * 200 / bare;
  state.counters["ours_MiB_per_s"] = static_cast<double>(state.iterations()) * 200 / ours;
  state.counters["ratio_ours_to_bare"] = ours / bare;
  state.counters["reader_cpu_ratio"] = oursCpu / bareCpu;
}
BENCHMARK(BM_CaptureBesideBareReadLoop)->Unit(benchmark::kMillisecond)->Iterations(5);

long long RealtimeNs() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// The child stamps the time just before it writes; the handler compares that
// with its own clock when the piece reaches it.
void BM_FirstPieceLatency(benchmark::State& state) {
  quillet::ShellProcessRunner runner;
  quillet::SleepingEventPump pump;
  double total = 0;
  for (auto _ : state) {
    long long latency = -1;
    quillet::RunAndCapture(
        runner, pump, "sleep 0.02; date +%s%N",
        [&](const quillet::Text& piece) {
          latency = RealtimeNs() - std::atoll(piece.c_str());
          return 1;
        },
        true);
    total += static_cast<double>(latency) / 1e6;
  }
  state.counters["first_piece_latency_ms"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FirstPieceLatency)->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
