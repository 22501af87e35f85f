#pragma once

// The account service: the twelve actions under /api.php?act=...&app=...,
// signed form bodies (optionally RC4-enciphered as "data="), accounts in
// an AccountStore. Replies are {"code":...,"msg":...}; 200 is success, every
// refusal has its own code and a Chinese message.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "account_store.h"
#include "core/account/account_operations.h"
#include "password_hash.h"

namespace httplib {
class Server;
}

namespace quillet::server {

struct AccountServiceConfig {
  std::string appId = "10000";
  std::string appKey;     // 32 letters and digits; checks the sign
  std::string cipherKey;  // empty: "data=" bodies are refused
  // How far a request's time stamp may be from the server's clock.
  std::int64_t timeToleranceSeconds = 300;
  int passwordIterations = kDefaultPasswordIterations;
  // Unix time in seconds; the system clock when empty.
  std::function<std::int64_t()> unixNow;
  // The local zone's offset from UTC in seconds; the machine's when empty.
  std::optional<std::int64_t> utcOffsetSeconds;
  // Where e-mail verification codes go (no mail is sent); the log when empty.
  std::function<void(const std::string& email, const std::string& code)> onVerificationCode;
};

// Codes of the replies besides 200.
enum AccountReplyCode : long {
  kCodeOk = 200,
  kCodeRefused = 201,     // the request is understood but not granted
  kCodeBadRequest = 400,  // missing or malformed fields
  kCodeBadSign = 401,
  kCodeStale = 402,  // time stamp too far from the server's clock
  kCodeBadToken = 403,
  kCodeUnknown = 404,  // unknown action or application
  kCodeServerError = 500,
};

class AccountService {
 public:
  AccountService(AccountStore& store, AccountServiceConfig config);

  // Adds the api.php routes (also reached with a doubled leading slash).
  void Register(httplib::Server& server);

  // One request: the URL's act and app, the raw body; the reply's JSON text.
  std::string Handle(std::string_view action, std::string_view app, std::string_view body);

 private:
  struct Outcome;
  Outcome Dispatch(AccountAction action, const std::vector<std::string>& values);
  std::int64_t Now() const;
  std::int64_t UtcOffset() const;
  bool StampAcceptable(std::string_view stamp) const;
  std::optional<std::string> AccountOf(const std::string& token);

  AccountStore& store_;
  AccountServiceConfig config_;
};

}  // namespace quillet::server
