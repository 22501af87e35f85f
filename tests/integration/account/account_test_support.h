#pragma once

// Shared pieces of the account tests: clocks, a fixed machine identity and the
// bundled server started in-process on a free port with a database in a
// temporary folder.

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>

#include "core/account/account_client.h"
#include "core/platform/clock.h"
#include "core/platform/machine_identity.h"
#include "quillet_server.h"

namespace quillet::test {

inline constexpr char kTestAppKey[] = "QuilletLocalDevelopmentKey2026AB";
inline constexpr char kTestAppId[] = "10000";
inline constexpr char kTestMachineCode[] = "MACHINE0CODE0016";

class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now) : now_(now) {}
  LocalDateTime LocalNow() const override { return now_; }

 private:
  LocalDateTime now_;
};

// The machine's local wall clock.
class LocalWallClock final : public Clock {
 public:
  LocalDateTime LocalNow() const override;
};

class FixedIdentity final : public MachineIdentity {
 public:
  std::array<std::uint32_t, 4> ProcessorWords() const override {
    return {0xBFEBFBFF, 0x000906EA, 0, 0};
  }
  std::optional<std::array<std::uint8_t, 6>> FirstAdapterAddress() const override {
    return std::array<std::uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  }
};

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A running server and a client configured for it.
class ServerUnderTest {
 public:
  explicit ServerUnderTest(const std::string& cipherKey = {},
                           server::AccountServiceConfig account = {});
  ~ServerUnderTest();

  bool ok() const { return started_; }
  server::QuilletServer& server() { return *server_; }
  std::string BaseUrl() const { return server_->BaseUrl(); }
  std::filesystem::path DbPath() const { return folder_.path() / "accounts.db"; }
  // The last verification code the server handed out, by address.
  std::string CodeFor(const std::string& email) const;

  // A client with the given clock (local wall clock when null), signing on,
  // the server's cipher key, the server as time site.
  AccountClient MakeClient(const Clock* clock = nullptr, long useServerTime = 0) const;

 private:
  TempFolder folder_;
  std::shared_ptr<std::map<std::string, std::string>> codes_;
  std::shared_ptr<std::mutex> codesMutex_;
  std::unique_ptr<server::QuilletServer> server_;
  std::string cipherKey_;
  LocalWallClock wallClock_;
  FixedIdentity identity_;
  bool started_ = false;
};

}  // namespace quillet::test
