#pragma once

// The account service's replies: {"code":...,"msg":...} with every non-ASCII
// character written as a \u escape, as the client expects of the service.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet::server {

// A JSON string literal of UTF-8 text; non-ASCII and control characters as
// \u escapes (surrogate pairs above U+FFFF), malformed UTF-8 as U+FFFD, and
// "%" as \u0025 so that the client's percent unescaping leaves it alone.
std::string JsonString(std::string_view utf8);

// A flat object of text members, in the given order.
std::string JsonObjectText(const std::vector<std::pair<std::string, std::string>>& members);

// {"code":code,"msg":msgJson}; `msgJson` is already JSON.
std::string ReplyText(long code, std::string_view msgJson);

}  // namespace quillet::server
