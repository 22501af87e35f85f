#pragma once

// The account service's actions: their names in the URL, their form fields in
// wire order and how the reply's "msg" member is read. The client builds its
// requests from this table and the bundled server reads them by it.

#include <array>
#include <span>
#include <string_view>

namespace quillet {

enum class AccountAction {
  kRegisterUser,
  kLogOn,
  kAlterName,
  kAlterPassword,
  kGetInfo,
  kClockIn,
  kMotion,
  kRequestVerificationCode,
  kBindEmail,
  kUnbindEmail,
  kRecoverPassword,
  kSetUpAccount,
};

// The field that always carries the machine code.
inline constexpr std::string_view kMarkCodeField = "markcode";

struct AccountOperation {
  AccountAction action;
  std::string_view actionName;             // "act=" in the URL
  std::array<std::string_view, 5> fields;  // wire order, before "t"
  std::size_t fieldCount;
  bool messageIsObject;  // "msg" read as JSON text when no cipher key is set

  std::span<const std::string_view> Fields() const { return {fields.data(), fieldCount}; }
};

inline constexpr std::array<AccountOperation, 12> kAccountOperations = {{
    {AccountAction::kRegisterUser,
     "user_reg",
     {"name", "user", "password", "inv", "markcode"},
     5,
     false},
    {AccountAction::kLogOn, "user_logon", {"account", "password", "markcode"}, 3, true},
    {AccountAction::kAlterName, "alter_name", {"token", "name", "markcode"}, 3, false},
    {AccountAction::kAlterPassword,
     "alter_pass",
     {"user", "password", "newpassword", "markcode"},
     4,
     false},
    {AccountAction::kGetInfo, "get_info", {"token", "markcode"}, 2, true},
    {AccountAction::kClockIn, "clock", {"token", "markcode"}, 2, false},
    {AccountAction::kMotion, "motion", {"token"}, 1, false},
    {AccountAction::kRequestVerificationCode, "afcrc", {"email", "type"}, 2, false},
    {AccountAction::kBindEmail, "email_bind", {"token", "email", "crc"}, 3, false},
    {AccountAction::kUnbindEmail, "email_untie", {"token", "email", "crc"}, 3, false},
    {AccountAction::kRecoverPassword, "seek_pass", {"email", "crc", "newpassword"}, 3, false},
    {AccountAction::kSetUpAccount, "set_up", {"token", "user", "password"}, 3, false},
}};

constexpr const AccountOperation& OperationFor(AccountAction action) {
  return kAccountOperations[static_cast<std::size_t>(action)];
}

// The operation with this URL action name, or nullptr.
constexpr const AccountOperation* FindOperation(std::string_view actionName) {
  for (const auto& op : kAccountOperations) {
    if (op.actionName == actionName) return &op;
  }
  return nullptr;
}

}  // namespace quillet
