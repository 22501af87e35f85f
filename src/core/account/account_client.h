#pragma once

// The client of the account service: one settings record and the twelve
// signed requests. Requests block the calling thread; the object holds no
// state between them and has no lock.

#include <string_view>

#include "core/account/account_operations.h"
#include "core/platform/clock.h"
#include "core/platform/machine_identity.h"
#include "core/text/text.h"

namespace quillet {

struct AccountSettings {
  Text BaseUrl;
  Text AppId;
  Text AppKey;
  Text CipherKey;          // empty: no cipher
  Text MachineCode;        // sent as "markcode"
  long SignRequests = 0;   // 1: requests carry "sign"
  long UseServerTime = 0;  // 1: the stamp comes from the time site's clock
};

// What the client needs from outside: the wall clock, the machine's identity
// and the plain-HTTP site whose "Date:" header serves as server clock. The
// pointed-to objects outlive the client.
struct AccountServices {
  const Clock* clock = nullptr;
  const MachineIdentity* identity = nullptr;
  Text timeSiteUrl;
};

class AccountClient {
 public:
  explicit AccountClient(AccountServices services);

  void Destroy();
  AccountClient Copy() const;
  void Configure(const Text& baseUrl, const Text& appId, const Text& appKey,
                 const Text& cipherKey = {}, const Text& machineCode = {}, long signRequests = 0,
                 long useServerTime = 0);
  Text ComputeMachineCode(bool shortForm) const;

  // Each returns the reply's code (200 success, 0 no usable reply) and puts
  // the reply's message into `message` when given.
  long RegisterUser(const Text& user, const Text& password, const Text& invitation = {},
                    const Text& nickname = {}, Text* message = nullptr) const;
  long LogOn(const Text& account, const Text& password, Text* message = nullptr) const;
  long AlterName(const Text& token, const Text& name, Text* message = nullptr) const;
  long AlterPassword(const Text& user, const Text& password, const Text& newPassword,
                     Text* message = nullptr) const;
  long GetInfo(const Text& token, Text* message = nullptr) const;
  long ClockIn(const Text& token, Text* message = nullptr) const;
  long Motion(const Text& token, Text* message = nullptr) const;
  long RequestVerificationCode(const Text& email, const Text& type, Text* message = nullptr) const;
  long BindEmail(const Text& token, const Text& email, const Text& code,
                 Text* message = nullptr) const;
  long UnbindEmail(const Text& token, const Text& email, const Text& code,
                   Text* message = nullptr) const;
  long RecoverPassword(const Text& email, const Text& code, const Text& newPassword,
                       Text* message = nullptr) const;
  long SetUpAccount(const Text& token, const Text& user, const Text& password = {},
                    Text* message = nullptr) const;

  const AccountSettings& Settings() const { return settings_; }

  // The "t" value the next request would carry.
  Text TimeStamp() const;

 private:
  // Runs one request with the operation's input values (the machine code is
  // filled in for "markcode").
  long Send(AccountAction action, std::initializer_list<Text> inputs, Text* message) const;

  AccountServices services_;
  AccountSettings settings_;
};

}  // namespace quillet
