#pragma once

// Replacement over the matches that CompiledRegex found, with the dollar
// escapes of ECMAScript's String.prototype.replace.

#include <string>
#include <string_view>

#include "core/script/regex_engine.h"

namespace quillet {

// The subject with every match replaced by `replacement`, in which "$1".."$99"
// stand for a group ("$10" only when there are ten groups, else group 1 and
// "0"), "$&" for the match, "$`" and "$'" for the text before and after it and
// "$$" for a dollar sign; any other "$" stays as it is.
std::string ReplaceMatches(std::string_view utf8Subject, const RegexMatches& matches,
                           std::string_view utf8Replacement);

}  // namespace quillet
