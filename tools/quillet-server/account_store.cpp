#include "account_store.h"

#include <utility>

namespace quillet::server {
namespace {

constexpr int kBusyTimeoutMs = 5000;

// A prepared statement that finalises itself.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }

  void Bind(int index, const std::string& text) {
    sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void BindBlob(int index, const std::string& bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  void Bind(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

  std::string Column(int index) const {
    const auto* p = sqlite3_column_blob(stmt_, index);
    const int n = sqlite3_column_bytes(stmt_, index);
    return p == nullptr ? std::string() : std::string(static_cast<const char*>(p), n);
  }
  std::int64_t ColumnInt(int index) const { return sqlite3_column_int64(stmt_, index); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS accounts ("
    " account TEXT PRIMARY KEY NOT NULL,"
    " name TEXT NOT NULL,"
    " salt BLOB NOT NULL,"
    " hash BLOB NOT NULL,"
    " iterations INTEGER NOT NULL,"
    " markcode TEXT NOT NULL DEFAULT '',"
    " email TEXT NOT NULL DEFAULT '',"
    " created INTEGER NOT NULL,"
    " clock_days INTEGER NOT NULL DEFAULT 0,"
    " last_clock_day INTEGER NOT NULL DEFAULT -1,"
    " motions INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX IF NOT EXISTS accounts_email ON accounts(email);"
    "CREATE TABLE IF NOT EXISTS tokens ("
    " token TEXT PRIMARY KEY NOT NULL,"
    " account TEXT NOT NULL,"
    " created INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS tokens_account ON tokens(account);"
    "CREATE TABLE IF NOT EXISTS verification_codes ("
    " email TEXT PRIMARY KEY NOT NULL,"
    " type TEXT NOT NULL,"
    " code TEXT NOT NULL,"
    " expires INTEGER NOT NULL);";

constexpr char kSelectColumns[] =
    "SELECT account, name, email, salt, hash, iterations, clock_days, last_clock_day, motions"
    " FROM accounts ";

}  // namespace

AccountStore::~AccountStore() { Close(); }

bool AccountStore::Open(const std::string& path, std::string* error) {
  std::lock_guard lock(mutex_);
  if (db_ != nullptr) return true;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    if (error) *error = db_ ? sqlite3_errmsg(db_) : "cannot open database";
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (!Exec("PRAGMA journal_mode=WAL;") || !Exec("PRAGMA synchronous=NORMAL;") || !Exec(kSchema)) {
    if (error) *error = sqlite3_errmsg(db_);
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

void AccountStore::Close() {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return;
  sqlite3_exec(db_, "PRAGMA wal_checkpoint(TRUNCATE);", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
  db_ = nullptr;
}

bool AccountStore::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

StoreResult AccountStore::CreateAccount(const std::string& account, const std::string& name,
                                        const PasswordHash& password, const std::string& markcode,
                                        std::int64_t now) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  Statement st(db_,
               "INSERT INTO accounts (account, name, salt, hash, iterations, markcode, created)"
               " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
  if (!st.ok()) return StoreResult::kFailed;
  st.Bind(1, account);
  st.Bind(2, name);
  st.BindBlob(3, password.salt);
  st.BindBlob(4, password.hash);
  st.Bind(5, static_cast<std::int64_t>(password.iterations));
  st.Bind(6, markcode);
  st.Bind(7, now);
  const int rc = sqlite3_step(st.get());
  if (rc == SQLITE_DONE) return StoreResult::kOk;
  if ((sqlite3_extended_errcode(db_) & 0xFF) == SQLITE_CONSTRAINT) return StoreResult::kConflict;
  return StoreResult::kFailed;
}

std::optional<AccountRecord> AccountStore::FindWhere(const char* where, const std::string& key) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return std::nullopt;
  Statement st(db_, (std::string(kSelectColumns) + where).c_str());
  if (!st.ok()) return std::nullopt;
  st.Bind(1, key);
  if (sqlite3_step(st.get()) != SQLITE_ROW) return std::nullopt;
  AccountRecord r;
  r.account = st.Column(0);
  r.name = st.Column(1);
  r.email = st.Column(2);
  r.password.salt = st.Column(3);
  r.password.hash = st.Column(4);
  r.password.iterations = static_cast<int>(st.ColumnInt(5));
  r.clockDays = st.ColumnInt(6);
  r.lastClockDay = st.ColumnInt(7);
  r.motions = st.ColumnInt(8);
  return r;
}

std::optional<AccountRecord> AccountStore::FindAccount(const std::string& account) {
  return FindWhere("WHERE account = ?1", account);
}

std::optional<AccountRecord> AccountStore::FindByEmail(const std::string& email) {
  if (email.empty()) return std::nullopt;
  return FindWhere("WHERE email = ?1 LIMIT 1", email);
}

std::int64_t AccountStore::CountAccounts() {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return 0;
  Statement st(db_, "SELECT COUNT(*) FROM accounts");
  if (!st.ok() || sqlite3_step(st.get()) != SQLITE_ROW) return 0;
  return st.ColumnInt(0);
}

StoreResult AccountStore::Change(const char* sql, std::initializer_list<std::string> texts) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  Statement st(db_, sql);
  if (!st.ok()) return StoreResult::kFailed;
  int index = 1;
  for (const std::string& t : texts) st.Bind(index++, t);
  if (sqlite3_step(st.get()) != SQLITE_DONE) {
    if ((sqlite3_extended_errcode(db_) & 0xFF) == SQLITE_CONSTRAINT) return StoreResult::kConflict;
    return StoreResult::kFailed;
  }
  return sqlite3_changes(db_) > 0 ? StoreResult::kOk : StoreResult::kNotFound;
}

StoreResult AccountStore::SetName(const std::string& account, const std::string& name) {
  return Change("UPDATE accounts SET name = ?2 WHERE account = ?1", {account, name});
}

StoreResult AccountStore::SetPassword(const std::string& account, const PasswordHash& password) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  if (!Exec("BEGIN IMMEDIATE")) return StoreResult::kFailed;
  Statement st(db_, "UPDATE accounts SET salt = ?2, hash = ?3, iterations = ?4 WHERE account = ?1");
  Statement drop(db_, "DELETE FROM tokens WHERE account = ?1");
  bool ok = st.ok() && drop.ok();
  if (ok) {
    st.Bind(1, account);
    st.BindBlob(2, password.salt);
    st.BindBlob(3, password.hash);
    st.Bind(4, static_cast<std::int64_t>(password.iterations));
    ok = sqlite3_step(st.get()) == SQLITE_DONE;
  }
  const bool found = ok && sqlite3_changes(db_) > 0;
  if (ok) {
    drop.Bind(1, account);
    ok = sqlite3_step(drop.get()) == SQLITE_DONE;
  }
  if (!ok || !Exec("COMMIT")) {
    Exec("ROLLBACK");
    return StoreResult::kFailed;
  }
  return found ? StoreResult::kOk : StoreResult::kNotFound;
}

StoreResult AccountStore::SetEmail(const std::string& account, const std::string& email) {
  return Change("UPDATE accounts SET email = ?2 WHERE account = ?1", {account, email});
}

StoreResult AccountStore::RenameAccount(const std::string& account, const std::string& newAccount) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  if (!Exec("BEGIN IMMEDIATE")) return StoreResult::kFailed;
  Statement st(db_, "UPDATE accounts SET account = ?2 WHERE account = ?1");
  Statement tokens(db_, "UPDATE tokens SET account = ?2 WHERE account = ?1");
  StoreResult result = StoreResult::kFailed;
  if (st.ok() && tokens.ok()) {
    st.Bind(1, account);
    st.Bind(2, newAccount);
    const int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) {
      result = sqlite3_changes(db_) > 0 ? StoreResult::kOk : StoreResult::kNotFound;
      tokens.Bind(1, account);
      tokens.Bind(2, newAccount);
      if (sqlite3_step(tokens.get()) != SQLITE_DONE) result = StoreResult::kFailed;
    } else if ((sqlite3_extended_errcode(db_) & 0xFF) == SQLITE_CONSTRAINT) {
      result = StoreResult::kConflict;
    }
  }
  if (result != StoreResult::kOk || !Exec("COMMIT")) {
    Exec("ROLLBACK");
    return result == StoreResult::kOk ? StoreResult::kFailed : result;
  }
  return result;
}

StoreResult AccountStore::ClockIn(const std::string& account, std::int64_t day) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  Statement st(db_,
               "UPDATE accounts SET clock_days = clock_days + 1, last_clock_day = ?2"
               " WHERE account = ?1 AND last_clock_day <> ?2");
  if (!st.ok()) return StoreResult::kFailed;
  st.Bind(1, account);
  st.Bind(2, day);
  if (sqlite3_step(st.get()) != SQLITE_DONE) return StoreResult::kFailed;
  return sqlite3_changes(db_) > 0 ? StoreResult::kOk : StoreResult::kConflict;
}

StoreResult AccountStore::RecordMotion(const std::string& account) {
  return Change("UPDATE accounts SET motions = motions + 1 WHERE account = ?1", {account});
}

StoreResult AccountStore::AddToken(const std::string& token, const std::string& account,
                                   std::int64_t now) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  Statement st(db_, "INSERT INTO tokens (token, account, created) VALUES (?1, ?2, ?3)");
  if (!st.ok()) return StoreResult::kFailed;
  st.Bind(1, token);
  st.Bind(2, account);
  st.Bind(3, now);
  return sqlite3_step(st.get()) == SQLITE_DONE ? StoreResult::kOk : StoreResult::kFailed;
}

std::optional<std::string> AccountStore::AccountOfToken(const std::string& token) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr || token.empty()) return std::nullopt;
  Statement st(db_, "SELECT account FROM tokens WHERE token = ?1");
  if (!st.ok()) return std::nullopt;
  st.Bind(1, token);
  if (sqlite3_step(st.get()) != SQLITE_ROW) return std::nullopt;
  return st.Column(0);
}

StoreResult AccountStore::PutVerificationCode(const std::string& email, const std::string& type,
                                              const std::string& code, std::int64_t expires) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr) return StoreResult::kFailed;
  Statement st(db_,
               "INSERT INTO verification_codes (email, type, code, expires) VALUES (?1, ?2, ?3, ?4)"
               " ON CONFLICT(email) DO UPDATE SET type = ?2, code = ?3, expires = ?4");
  if (!st.ok()) return StoreResult::kFailed;
  st.Bind(1, email);
  st.Bind(2, type);
  st.Bind(3, code);
  st.Bind(4, expires);
  return sqlite3_step(st.get()) == SQLITE_DONE ? StoreResult::kOk : StoreResult::kFailed;
}

bool AccountStore::TakeVerificationCode(const std::string& email, const std::string& code,
                                        std::int64_t now) {
  std::lock_guard lock(mutex_);
  if (db_ == nullptr || code.empty()) return false;
  Statement st(db_,
               "DELETE FROM verification_codes WHERE email = ?1 AND code = ?2 AND expires >= ?3");
  if (!st.ok()) return false;
  st.Bind(1, email);
  st.Bind(2, code);
  st.Bind(3, now);
  return sqlite3_step(st.get()) == SQLITE_DONE && sqlite3_changes(db_) > 0;
}

}  // namespace quillet::server
