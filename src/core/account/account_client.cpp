#include "core/account/account_client.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/account/machine_code.h"
#include "core/account/request_protocol.h"
#include "core/account/time_stamp.h"
#include "core/net/http_object_request.h"

namespace quillet {
namespace {

constexpr int kMethodPost = 1;
constexpr int kMethodHead = 2;

}  // namespace

AccountClient::AccountClient(AccountServices services) : services_(std::move(services)) {}

void AccountClient::Destroy() { settings_ = AccountSettings(); }

AccountClient AccountClient::Copy() const { return *this; }

void AccountClient::Configure(const Text& baseUrl, const Text& appId, const Text& appKey,
                              const Text& cipherKey, const Text& machineCode, long signRequests,
                              long useServerTime) {
  settings_ =
      AccountSettings{baseUrl, appId, appKey, cipherKey, machineCode, signRequests, useServerTime};
}

Text AccountClient::ComputeMachineCode(bool shortForm) const {
  if (services_.identity == nullptr) return {};
  return quillet::ComputeMachineCode(*services_.identity, shortForm);
}

Text AccountClient::TimeStamp() const {
  if (settings_.UseServerTime == 1) {
    Text headers;
    HttpObjectRequestArgs head;
    head.url = services_.timeSiteUrl;
    head.method = kMethodHead;
    head.responseHeaders = &headers;
    HttpObjectRequest(head);
    if (std::optional<Text> stamp = ServerClockTimeStamp(headers)) return *stamp;
    // No readable "Date:" header: the local clock's stamp is the best guess
    // left, and far better than a stamp the server must refuse.
  }
  if (services_.clock == nullptr) return FormatTimeStamp(0, 0);
  return UnixTimeText(*services_.clock);
}

long AccountClient::Send(AccountAction action, std::initializer_list<Text> inputs,
                         Text* message) const {
  const AccountOperation& op = OperationFor(action);
  std::vector<Text> values;
  values.reserve(op.fieldCount);
  auto input = inputs.begin();
  for (std::string_view field : op.Fields()) {
    if (field == kMarkCodeField) {
      values.push_back(settings_.MachineCode);
    } else {
      values.push_back(input != inputs.end() ? *input++ : Text());
    }
  }
  const Text form = BuildFormText(op.Fields(), values, TimeStamp());
  const Text body =
      BuildRequestBody(form, settings_.SignRequests == 1, settings_.AppKey, settings_.CipherKey);
  const Text url = BuildRequestUrl(settings_.BaseUrl, op.actionName, settings_.AppId);
  // Everything else left at its default: the default headers, 15-second
  // time-outs, redirects followed.
  HttpObjectRequestArgs post;
  post.url = url;
  post.method = kMethodPost;
  post.postText = body;
  const Bytes reply = HttpObjectRequest(post);
  AccountReply result = ReadAccountReply(reply, op.messageIsObject, settings_.CipherKey);
  if (message != nullptr) *message = std::move(result.message);
  return result.code;
}

// The inputs are listed in the order of the form fields, which for
// RegisterUser differs from the order of its parameters.
long AccountClient::RegisterUser(const Text& user, const Text& password, const Text& invitation,
                                 const Text& nickname, Text* message) const {
  return Send(AccountAction::kRegisterUser, {nickname, user, password, invitation}, message);
}
long AccountClient::LogOn(const Text& account, const Text& password, Text* message) const {
  return Send(AccountAction::kLogOn, {account, password}, message);
}
long AccountClient::AlterName(const Text& token, const Text& name, Text* message) const {
  return Send(AccountAction::kAlterName, {token, name}, message);
}
long AccountClient::AlterPassword(const Text& user, const Text& password, const Text& newPassword,
                                  Text* message) const {
  return Send(AccountAction::kAlterPassword, {user, password, newPassword}, message);
}
long AccountClient::GetInfo(const Text& token, Text* message) const {
  return Send(AccountAction::kGetInfo, {token}, message);
}
long AccountClient::ClockIn(const Text& token, Text* message) const {
  return Send(AccountAction::kClockIn, {token}, message);
}
long AccountClient::Motion(const Text& token, Text* message) const {
  return Send(AccountAction::kMotion, {token}, message);
}
long AccountClient::RequestVerificationCode(const Text& email, const Text& type,
                                            Text* message) const {
  return Send(AccountAction::kRequestVerificationCode, {email, type}, message);
}
long AccountClient::BindEmail(const Text& token, const Text& email, const Text& code,
                              Text* message) const {
  return Send(AccountAction::kBindEmail, {token, email, code}, message);
}
long AccountClient::UnbindEmail(const Text& token, const Text& email, const Text& code,
                                Text* message) const {
  return Send(AccountAction::kUnbindEmail, {token, email, code}, message);
}
long AccountClient::RecoverPassword(const Text& email, const Text& code, const Text& newPassword,
                                    Text* message) const {
  return Send(AccountAction::kRecoverPassword, {email, code, newPassword}, message);
}
long AccountClient::SetUpAccount(const Text& token, const Text& user, const Text& password,
                                 Text* message) const {
  return Send(AccountAction::kSetUpAccount, {token, user, password}, message);
}

}  // namespace quillet
