#pragma once

// Cookie texts: "name=value" items separated by "; ".

#include <string_view>

#include "core/text/text.h"

namespace quillet {

// Merges `fresh` (cookies just set by a server) over `old` (cookies the
// caller keeps): fresh items first, then old items whose names are not among
// them; items ending in "=deleted" and exact duplicates are dropped. Both
// arguments are rewritten (trimmed, "; "-terminated when they ended with
// ";"), and `*old` receives the merged text, which is also returned.
Text MergeCookies(Text* old, Text* fresh);

// The first name=value pair of every "Set-Cookie" line of a raw response
// header block, joined with "; " (no trailing separator).
Text CollectSetCookies(std::string_view responseHeaders);

}  // namespace quillet
