#include "account_test_support.h"

#include <sys/time.h>

#include <ctime>
#include <map>
#include <mutex>

namespace quillet::test {

LocalDateTime LocalWallClock::LocalNow() const {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm local{};
  const std::time_t seconds = tv.tv_sec;
  localtime_r(&seconds, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(tv.tv_usec / 1000)};
}

TempFolder::TempFolder() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("quillet_account_" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ServerUnderTest::ServerUnderTest(const std::string& cipherKey, server::AccountServiceConfig account)
    : codes_(std::make_shared<std::map<std::string, std::string>>()),
      codesMutex_(std::make_shared<std::mutex>()),
      cipherKey_(cipherKey) {
  server::ServerConfig config;
  config.port = 0;
  config.dbPath = DbPath().string();
  config.account = std::move(account);
  config.account.appKey = kTestAppKey;
  config.account.appId = kTestAppId;
  config.account.cipherKey = cipherKey;
  if (config.account.passwordIterations == server::kDefaultPasswordIterations) {
    config.account.passwordIterations = 1000;  // the tests sign in a thousand times
  }
  auto codes = codes_;
  auto mutex = codesMutex_;
  config.account.onVerificationCode = [codes, mutex](const std::string& email,
                                                     const std::string& code) {
    std::lock_guard lock(*mutex);
    (*codes)[email] = code;
  };
  server_ = std::make_unique<server::QuilletServer>(config);
  std::string error;
  started_ = server_->Start(&error);
}

ServerUnderTest::~ServerUnderTest() { server_->Stop(); }

std::string ServerUnderTest::CodeFor(const std::string& email) const {
  std::lock_guard lock(*codesMutex_);
  const auto it = codes_->find(email);
  return it == codes_->end() ? std::string() : it->second;
}

AccountClient ServerUnderTest::MakeClient(const Clock* clock, long useServerTime) const {
  AccountClient client(
      AccountServices{clock != nullptr ? clock : &wallClock_, &identity_, server_->BaseUrl()});
  client.Configure(server_->BaseUrl(), kTestAppId, kTestAppKey, cipherKey_, kTestMachineCode, 1,
                   useServerTime);
  return client;
}

}  // namespace quillet::test
