#include "core/account/request_protocol.h"

#include <climits>

#include "core/account/rc4_cipher.h"
#include "core/account/unescape_reply.h"
#include "core/script/reply_json_object.h"
#include "core/text/digest.h"

namespace quillet {

Text BuildFormText(std::span<const std::string_view> names, std::span<const Text> values,
                   std::string_view stamp) {
  Text form;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) form += '&';
    form += names[k];
    form += '=';
    if (k < values.size()) form += values[k];
  }
  if (!form.empty()) form += '&';
  form += "t=";
  form += stamp;
  return form;
}

Text SignFormText(std::string_view formText, std::string_view appKey) {
  Text input(formText);
  input += '&';
  input += appKey;
  return Md5Hex(input);
}

Text BuildRequestBody(std::string_view formText, bool signRequests, std::string_view appKey,
                      std::string_view cipherKey) {
  const Text sign = signRequests ? SignFormText(formText, appKey) : Text();
  Text signedForm(formText);
  if (signRequests) signedForm += "&sign=" + sign;
  if (cipherKey.empty()) return signedForm;
  return "data=" + EncipherText(signedForm, cipherKey) + "&sign=" + sign;
}

Text BuildRequestUrl(std::string_view baseUrl, std::string_view actionName,
                     std::string_view appId) {
  Text url(baseUrl);
  url += "/api.php?act=";
  url += actionName;
  url += "&app=";
  url += appId;
  return url;
}

long ParseReplyCode(std::string_view text) {
  std::size_t k = 0;
  while (k < text.size() && (text[k] == ' ' || text[k] == '\t')) ++k;
  bool negative = false;
  if (k < text.size() && (text[k] == '-' || text[k] == '+')) negative = text[k++] == '-';
  long value = 0;
  for (; k < text.size() && text[k] >= '0' && text[k] <= '9'; ++k) {
    const int digit = text[k] - '0';
    if (value > (LONG_MAX - digit) / 10) return 0;  // out of range: no usable code
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

AccountReply ReadAccountReply(const Bytes& body, bool messageIsObject, std::string_view cipherKey) {
  ReplyJsonObject reply;
  reply.Parse(UnescapeReply(TextFromBytes(body)));
  AccountReply result;
  result.code = ParseReplyCode(reply.GetText("code"));
  if (messageIsObject && cipherKey.empty()) {
    result.message = reply.GetObject("msg").ToText();
  } else {
    result.message = reply.GetText("msg");
  }
  if (!cipherKey.empty()) result.message = DecipherText(result.message, cipherKey);
  return result;
}

}  // namespace quillet
