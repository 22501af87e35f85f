// quillet-server as a process: arguments, start, SIGTERM, nothing lost.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "account_store.h"
#include "account_test_support.h"

extern char** environ;

namespace quillet::test {
namespace {

// A child process with its stderr on a pipe.
class ServerProcess {
 public:
  explicit ServerProcess(std::vector<std::string> args) {
    args.insert(args.begin(), QUILLET_SERVER_EXE);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    err_ = fds[0];
  }
  ~ServerProcess() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (err_ >= 0) close(err_);
  }

  // Reads stderr until `marker` shows (or the stream ends); what was read.
  std::string ReadUntil(const std::string& marker) {
    while (output_.find(marker) == std::string::npos) {
      char buffer[256];
      const ssize_t n = read(err_, buffer, sizeof buffer);
      if (n <= 0) break;
      output_.append(buffer, static_cast<std::size_t>(n));
    }
    return output_;
  }

  // The exit status, after waiting for the process to end.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int err_ = -1;
  bool exited_ = false;
  std::string output_;
};

TEST(ServerProcess, BadArgumentsExitWithTwo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--port", "http"}, {"--nonsense"}, {"--app-key", "x"}}) {
    ServerProcess process(args);
    ASSERT_GT(process.pid(), 0);
    EXPECT_NE(process.ReadUntil("usage:").find("usage:"), std::string::npos);
    EXPECT_EQ(process.Wait(), 2) << args[0];
  }
  ServerProcess help({"--help"});
  EXPECT_EQ(help.Wait(), 0);
}

TEST(ServerProcess, StopsOnSigtermKeepingEveryAccount) {
  TempFolder folder;
  const std::string db = (folder.path() / "accounts.db").string();
  for (int signal : {SIGTERM, SIGINT}) {
    ServerProcess process({"--port", "0", "--db", db, "--app-key", kTestAppKey});
    ASSERT_GT(process.pid(), 0);
    const std::string out = process.ReadUntil("/\n");
    const auto at = out.find("http://");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string baseUrl = out.substr(at, out.find('\n', at) - at);

    const LocalWallClock clock;
    const FixedIdentity identity;
    AccountClient client(AccountServices{&clock, &identity, baseUrl});
    client.Configure(baseUrl, kTestAppId, kTestAppKey, "", kTestMachineCode, 1, 0);
    const std::string account = signal == SIGTERM ? "111111111" : "222222222";
    Text message;
    EXPECT_EQ(client.RegisterUser(account, "secret", "", "", &message), 200) << message;

    kill(process.pid(), signal);
    EXPECT_EQ(process.Wait(), 0);
  }
  server::AccountStore store;
  std::string error;
  ASSERT_TRUE(store.Open(db, &error)) << error;
  EXPECT_EQ(store.CountAccounts(), 2);
  EXPECT_TRUE(store.FindAccount("111111111").has_value());
  EXPECT_TRUE(store.FindAccount("222222222").has_value());
}

TEST(ServerProcess, UnusableDatabaseIsReported) {
  ServerProcess process({"--port", "0", "--db", "/nonexistent-folder/x.db"});
  EXPECT_NE(process.ReadUntil("\n").find("quillet-server:"), std::string::npos);
  EXPECT_EQ(process.Wait(), 1);
}

}  // namespace
}  // namespace quillet::test
