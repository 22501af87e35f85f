#pragma once

// The account service writes the non-ASCII characters of its JSON as "\u"
// escapes. The reply is read as the body of a single-quoted script string
// literal, then percent escapes are resolved; a reply that is no valid
// literal (a raw line break inside) is read as UTF-16LE bytes instead.

#include <string_view>

#include "core/text/text.h"

namespace quillet {

Text UnescapeReply(std::string_view reply);

}  // namespace quillet
