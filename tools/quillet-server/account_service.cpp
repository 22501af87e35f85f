#include "account_service.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>

#include "core/account/rc4_cipher.h"
#include "core/account/request_protocol.h"
#include "core/text/digest.h"
#include "core/text/encodings.h"
#include "form_fields.h"
#include "json_reply.h"

namespace quillet::server {
namespace {

constexpr std::string_view kSignMarker = "&sign=";
constexpr std::string_view kDataPrefix = "data=";
constexpr std::int64_t kStampBaseOffsetSeconds = 8 * 3600;
constexpr std::int64_t kVerificationCodeLifetime = 10 * 60;
constexpr std::size_t kMaxNameBytes = 64;
constexpr std::size_t kMaxPasswordBytes = 128;
constexpr std::size_t kMaxEmailBytes = 128;

bool IsAccountNumber(std::string_view s) {
  if (s.size() < 5 || s.size() > 12) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsEmail(std::string_view s) {
  if (s.empty() || s.size() > kMaxEmailBytes) return false;
  const std::size_t at = s.find('@');
  if (at == 0 || at == std::string_view::npos || at + 1 >= s.size()) return false;
  for (unsigned char c : s) {
    if (c <= 0x20 || c >= 0x7F) return false;
  }
  return true;
}

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Field values arrive as code page 936 bytes (the client's texts); the
// server keeps UTF-8.
std::string Utf8FromClient(std::string_view gbk) { return ConvertCharset(gbk, "CP936", "UTF-8"); }

// A name travels back inside the JSON replies, which the client reads as a
// script string literal before parsing: a double quote or a backslash would
// not survive that, nor would control characters.
bool IsStorableName(std::string_view utf8) {
  if (utf8.size() > kMaxNameBytes) return false;
  for (unsigned char c : utf8) {
    if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') return false;
  }
  return true;
}

std::string LowerAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

struct AccountService::Outcome {
  long code = kCodeOk;
  std::string text;        // UTF-8, when the message is a text
  std::string objectJson;  // when the message is an object
};

AccountService::AccountService(AccountStore& store, AccountServiceConfig config)
    : store_(store), config_(std::move(config)) {}

std::int64_t AccountService::Now() const {
  if (config_.unixNow) return config_.unixNow();
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::int64_t AccountService::UtcOffset() const {
  if (config_.utcOffsetSeconds) return *config_.utcOffsetSeconds;
  const std::time_t now = static_cast<std::time_t>(Now());
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return local.tm_gmtoff;
}

// The client counts seconds from 1970-01-01 08:00:00 on its wall clock; with
// the server-clock option it adds 8 hours to a web server's GMT date, which is
// plain Unix time. Both readings of this server's clock are accepted.
bool AccountService::StampAcceptable(std::string_view stamp) const {
  if (stamp.size() != 10 || !IsDigits(stamp)) return false;
  const std::int64_t t = std::stoll(std::string(stamp));
  const std::int64_t unix = Now();
  const std::int64_t wall = unix + UtcOffset() - kStampBaseOffsetSeconds;
  const auto near = [&](std::int64_t reference) {
    const std::int64_t d = t - reference;
    return d <= config_.timeToleranceSeconds && -d <= config_.timeToleranceSeconds;
  };
  return near(unix) || near(wall);
}

std::optional<std::string> AccountService::AccountOf(const std::string& token) {
  return store_.AccountOfToken(token);
}

void AccountService::Register(httplib::Server& server) {
  server.Post(R"(/+api\.php)", [this](const httplib::Request& req, httplib::Response& res) {
    std::string reply;
    try {
      reply = Handle(req.get_param_value("act"), req.get_param_value("app"), req.body);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "quillet-server: account request failed: %s\n", e.what());
      reply = ReplyText(kCodeServerError, JsonString("服务器内部错误"));
    }
    res.set_content(reply, "application/json; charset=utf-8");
  });
}

std::string AccountService::Handle(std::string_view action, std::string_view app,
                                   std::string_view body) {
  const AccountOperation* op = FindOperation(action);
  if (op == nullptr) return ReplyText(kCodeUnknown, JsonString("未知的操作"));
  if (app != config_.appId) return ReplyText(kCodeUnknown, JsonString("应用不存在"));

  // The enciphered form carries the whole signed form text, sign included,
  // and the sign once more in the clear.
  std::string plain(body);
  bool enciphered = false;
  std::string outerSign;
  if (body.substr(0, kDataPrefix.size()) == kDataPrefix) {
    if (config_.cipherKey.empty()) {
      return ReplyText(kCodeBadRequest, JsonString("服务器未启用加密传输"));
    }
    const std::string_view rest = body.substr(kDataPrefix.size());
    const std::size_t signAt = rest.find(kSignMarker);
    if (signAt == std::string_view::npos) {
      return ReplyText(kCodeBadSign, JsonString("缺少签名"));
    }
    outerSign = std::string(rest.substr(signAt + kSignMarker.size()));
    plain = DecipherText(rest.substr(0, signAt), config_.cipherKey);
    enciphered = true;
  }

  const std::size_t signAt = plain.rfind(kSignMarker);
  if (signAt == std::string::npos) return ReplyText(kCodeBadSign, JsonString("缺少签名"));
  const std::string signedText = plain.substr(0, signAt);
  const std::string sign = LowerAscii(plain.substr(signAt + kSignMarker.size()));
  const std::string expected = SignFormText(signedText, config_.appKey);
  if (expected.empty() || sign != expected || (enciphered && LowerAscii(outerSign) != sign)) {
    return ReplyText(kCodeBadSign, JsonString("签名校验失败"));
  }

  std::vector<std::string_view> names(op->Fields().begin(), op->Fields().end());
  names.push_back("t");
  const auto values = ReadOrderedFields(signedText, names);
  if (!values) return ReplyText(kCodeBadRequest, JsonString("参数不完整"));
  if (!StampAcceptable(values->back())) {
    return ReplyText(kCodeStale, JsonString("请求已过期，请校准系统时间"));
  }

  const Outcome outcome = Dispatch(op->action, *values);
  std::string msgJson;
  if (enciphered) {
    // The client deciphers the message into its code page 936 text.
    const std::string plainMessage =
        outcome.objectJson.empty() ? Utf8ToAnsi(outcome.text) : outcome.objectJson;
    msgJson = JsonString(EncipherText(plainMessage, config_.cipherKey));
  } else {
    msgJson = outcome.objectJson.empty() ? JsonString(outcome.text) : outcome.objectJson;
  }
  return ReplyText(outcome.code, msgJson);
}

AccountService::Outcome AccountService::Dispatch(AccountAction action,
                                                 const std::vector<std::string>& v) {
  const auto refuse = [](long code, const char* text) { return Outcome{code, text, {}}; };
  const auto done = [](const char* text) { return Outcome{kCodeOk, text, {}}; };
  const std::int64_t now = Now();

  switch (action) {
    case AccountAction::kRegisterUser: {
      // name, user, password, inv, markcode
      const std::string& user = v[1];
      const std::string& password = v[2];
      std::string name = Utf8FromClient(v[0]);
      if (!IsAccountNumber(user)) return refuse(kCodeBadRequest, "账号格式错误");
      if (password.empty() || password.size() > kMaxPasswordBytes) {
        return refuse(kCodeBadRequest, "密码长度不符合要求");
      }
      if (!IsStorableName(name)) return refuse(kCodeBadRequest, "昵称过长或含有不允许的字符");
      if (name.empty()) name = user;
      const PasswordHash hash = HashPassword(password, config_.passwordIterations);
      switch (store_.CreateAccount(user, name, hash, v[4], now)) {
        case StoreResult::kOk:
          return done("注册成功");
        case StoreResult::kConflict:
          return refuse(kCodeRefused, "该账号已被注册");
        default:
          return refuse(kCodeServerError, "服务器内部错误");
      }
    }
    case AccountAction::kLogOn: {
      // account, password, markcode
      const auto record = store_.FindAccount(v[0]);
      // Hash even for an unknown account, so that timing does not tell.
      bool match = false;
      if (record) {
        match = VerifyPassword(v[1], record->password);
      } else {
        (void)HashPassword(v[1], config_.passwordIterations);
      }
      if (!match) return refuse(kCodeRefused, "账号或密码错误");
      const std::string token = RandomHex(16);
      if (store_.AddToken(token, record->account, now) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return Outcome{
          kCodeOk,
          {},
          JsonObjectText({{"token", token}, {"name", record->name}, {"account", record->account}})};
    }
    case AccountAction::kAlterName: {
      // token, name, markcode
      const auto account = AccountOf(v[0]);
      if (!account) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      const std::string name = Utf8FromClient(v[1]);
      if (name.empty() || !IsStorableName(name)) {
        return refuse(kCodeBadRequest, "昵称为空、过长或含有不允许的字符");
      }
      if (store_.SetName(*account, name) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("昵称修改成功");
    }
    case AccountAction::kAlterPassword: {
      // user, password, newpassword, markcode
      const auto record = store_.FindAccount(v[0]);
      if (!record || !VerifyPassword(v[1], record->password)) {
        return refuse(kCodeRefused, "账号或原密码错误");
      }
      if (v[2].empty() || v[2].size() > kMaxPasswordBytes) {
        return refuse(kCodeBadRequest, "新密码长度不符合要求");
      }
      const PasswordHash hash = HashPassword(v[2], config_.passwordIterations);
      if (store_.SetPassword(record->account, hash) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("密码修改成功");
    }
    case AccountAction::kGetInfo: {
      // token, markcode
      const auto account = AccountOf(v[0]);
      const auto record = account ? store_.FindAccount(*account) : std::nullopt;
      if (!record) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      return Outcome{kCodeOk,
                     {},
                     JsonObjectText({{"account", record->account},
                                     {"name", record->name},
                                     {"email", record->email},
                                     {"clock_days", std::to_string(record->clockDays)}})};
    }
    case AccountAction::kClockIn: {
      // token, markcode
      const auto account = AccountOf(v[0]);
      if (!account) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      const std::int64_t local = now + UtcOffset();
      const std::int64_t day = local >= 0 ? local / 86400 : (local - 86399) / 86400;
      switch (store_.ClockIn(*account, day)) {
        case StoreResult::kOk:
          return done("打卡成功");
        case StoreResult::kConflict:
          return refuse(kCodeRefused, "今天已经打过卡了");
        default:
          return refuse(kCodeServerError, "服务器内部错误");
      }
    }
    case AccountAction::kMotion: {
      // token
      const auto account = AccountOf(v[0]);
      if (!account) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      if (store_.RecordMotion(*account) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("在线状态已更新");
    }
    case AccountAction::kRequestVerificationCode: {
      // email, type
      if (!IsEmail(v[0])) return refuse(kCodeBadRequest, "邮箱格式错误");
      const std::string code = RandomDigits(6);
      if (store_.PutVerificationCode(v[0], v[1], code, now + kVerificationCodeLifetime) !=
          StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      if (config_.onVerificationCode) {
        config_.onVerificationCode(v[0], code);
      } else {
        std::fprintf(stderr, "quillet-server: verification code for %s: %s\n", v[0].c_str(),
                     code.c_str());
      }
      return done("验证码已发送");
    }
    case AccountAction::kBindEmail: {
      // token, email, crc
      const auto account = AccountOf(v[0]);
      if (!account) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      if (!IsEmail(v[1])) return refuse(kCodeBadRequest, "邮箱格式错误");
      const auto holder = store_.FindByEmail(v[1]);
      if (holder && holder->account != *account) {
        return refuse(kCodeRefused, "该邮箱已被其他账号绑定");
      }
      if (!store_.TakeVerificationCode(v[1], v[2], now)) {
        return refuse(kCodeRefused, "验证码错误或已过期");
      }
      if (store_.SetEmail(*account, v[1]) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("邮箱绑定成功");
    }
    case AccountAction::kUnbindEmail: {
      // token, email, crc
      const auto account = AccountOf(v[0]);
      const auto record = account ? store_.FindAccount(*account) : std::nullopt;
      if (!record) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      if (record->email.empty() || record->email != v[1]) {
        return refuse(kCodeRefused, "该邮箱未绑定此账号");
      }
      if (!store_.TakeVerificationCode(v[1], v[2], now)) {
        return refuse(kCodeRefused, "验证码错误或已过期");
      }
      if (store_.SetEmail(record->account, "") != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("邮箱解绑成功");
    }
    case AccountAction::kRecoverPassword: {
      // email, crc, newpassword
      const auto record = store_.FindByEmail(v[0]);
      if (!record) return refuse(kCodeRefused, "该邮箱未绑定任何账号");
      if (v[2].empty() || v[2].size() > kMaxPasswordBytes) {
        return refuse(kCodeBadRequest, "新密码长度不符合要求");
      }
      if (!store_.TakeVerificationCode(v[0], v[1], now)) {
        return refuse(kCodeRefused, "验证码错误或已过期");
      }
      const PasswordHash hash = HashPassword(v[2], config_.passwordIterations);
      if (store_.SetPassword(record->account, hash) != StoreResult::kOk) {
        return refuse(kCodeServerError, "服务器内部错误");
      }
      return done("密码重置成功");
    }
    case AccountAction::kSetUpAccount: {
      // token, user, password: moves the account to a new number and, when
      // a password is given, sets it.
      const auto account = AccountOf(v[0]);
      if (!account) return refuse(kCodeBadToken, "登录状态已失效，请重新登录");
      if (!IsAccountNumber(v[1])) return refuse(kCodeBadRequest, "账号格式错误");
      if (v[2].size() > kMaxPasswordBytes) return refuse(kCodeBadRequest, "密码长度不符合要求");
      if (v[1] != *account) {
        switch (store_.RenameAccount(*account, v[1])) {
          case StoreResult::kOk:
            break;
          case StoreResult::kConflict:
            return refuse(kCodeRefused, "该账号已被注册");
          default:
            return refuse(kCodeServerError, "服务器内部错误");
        }
      }
      if (!v[2].empty()) {
        const PasswordHash hash = HashPassword(v[2], config_.passwordIterations);
        if (store_.SetPassword(v[1], hash) != StoreResult::kOk) {
          return refuse(kCodeServerError, "服务器内部错误");
        }
      }
      return done("账号设置成功");
    }
  }
  return refuse(kCodeUnknown, "未知的操作");
}

}  // namespace quillet::server
