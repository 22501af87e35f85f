#pragma once

// The account service's storage: one SQLite database (WAL) behind a mutex,
// prepared statements only. Every change is committed before the call
// returns, so a stopped server loses nothing.

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "password_hash.h"

namespace quillet::server {

struct AccountRecord {
  std::string account;
  std::string name;  // UTF-8
  std::string email;
  PasswordHash password;
  std::int64_t clockDays = 0;      // clock-ins so far
  std::int64_t lastClockDay = -1;  // day number of the last clock-in
  std::int64_t motions = 0;
};

enum class StoreResult { kOk, kNotFound, kConflict, kFailed };

class AccountStore {
 public:
  AccountStore() = default;
  ~AccountStore();
  AccountStore(const AccountStore&) = delete;
  AccountStore& operator=(const AccountStore&) = delete;

  // Opens or creates the database; false with `error` set when it cannot.
  bool Open(const std::string& path, std::string* error);
  void Close();

  StoreResult CreateAccount(const std::string& account, const std::string& name,
                            const PasswordHash& password, const std::string& markcode,
                            std::int64_t now);
  std::optional<AccountRecord> FindAccount(const std::string& account);
  std::optional<AccountRecord> FindByEmail(const std::string& email);
  std::int64_t CountAccounts();

  StoreResult SetName(const std::string& account, const std::string& name);
  // Also ends every session of the account.
  StoreResult SetPassword(const std::string& account, const PasswordHash& password);
  StoreResult SetEmail(const std::string& account, const std::string& email);
  StoreResult RenameAccount(const std::string& account, const std::string& newAccount);
  // kConflict when the account clocked in on `day` already.
  StoreResult ClockIn(const std::string& account, std::int64_t day);
  StoreResult RecordMotion(const std::string& account);

  StoreResult AddToken(const std::string& token, const std::string& account, std::int64_t now);
  // The account of a token, when the token exists.
  std::optional<std::string> AccountOfToken(const std::string& token);

  StoreResult PutVerificationCode(const std::string& email, const std::string& type,
                                  const std::string& code, std::int64_t expires);
  // True and the code removed when it matches and has not expired.
  bool TakeVerificationCode(const std::string& email, const std::string& code, std::int64_t now);

 private:
  bool Exec(const char* sql);
  std::optional<AccountRecord> FindWhere(const char* sql, const std::string& key);
  StoreResult Change(const char* sql, std::initializer_list<std::string> texts);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
};

}  // namespace quillet::server
