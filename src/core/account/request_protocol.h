#pragma once

// The wire form of an account request and the reading of its reply. Nothing
// is escaped: values go out exactly as given, so a value holding "&" or "="
// splits its field, and the sign covers that same unescaped text.

#include <span>
#include <string_view>

#include "core/account/account_operations.h"
#include "core/text/text.h"

namespace quillet {

// name=value pairs joined by "&", then "&t=" + stamp.
Text BuildFormText(std::span<const std::string_view> names, std::span<const Text> values,
                   std::string_view stamp);

// Lower-case MD5 of the form text, "&" and the application key.
Text SignFormText(std::string_view formText, std::string_view appKey);

// The form text (with "&sign=" + sign when signing), enciphered into
// "data=...&sign=..." when a cipher key is set.
Text BuildRequestBody(std::string_view formText, bool signRequests, std::string_view appKey,
                      std::string_view cipherKey);

// baseUrl + "/api.php?act=" + action + "&app=" + appId, joined as they are.
Text BuildRequestUrl(std::string_view baseUrl, std::string_view actionName, std::string_view appId);

struct AccountReply {
  long code = 0;
  Text message;
};

// Unescapes and parses the reply body; code 0 when it holds no usable code.
AccountReply ReadAccountReply(const Bytes& body, bool messageIsObject, std::string_view cipherKey);

// The leading decimal integer of a text (after spaces and a sign), 0 when
// there is none.
long ParseReplyCode(std::string_view text);

}  // namespace quillet
