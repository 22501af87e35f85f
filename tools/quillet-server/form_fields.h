#pragma once

// Reading the account client's form bodies. The client escapes nothing, so a
// value may itself hold "&" or "=". Knowing each action's field order, the
// server takes a value to run up to the next expected "&name=" rather than to
// the next "&": a password such as "a&b=c" arrives whole. The sign is checked
// over the raw text and so does not depend on how the fields are cut.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet::server {

// The plain reading: split at "&", then at the first "=" of each piece; a
// piece without "=" is a name with an empty value. No percent-decoding.
std::vector<std::pair<std::string, std::string>> SplitFormBody(std::string_view body);

// The values of `names`, in that order, when the body is exactly those fields
// in that order ("n1=v1&n2=v2..."); nothing when a field is missing or out of
// place.
std::optional<std::vector<std::string>> ReadOrderedFields(std::string_view body,
                                                          std::span<const std::string_view> names);

}  // namespace quillet::server
