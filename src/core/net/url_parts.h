#pragma once

// Splitting request URLs the way the two Windows HTTP stacks do.

#include <string>
#include <string_view>

#include "core/text/text.h"

namespace quillet {

struct UrlParts {
  bool ok = false;
  bool secure = false;
  Text host;  // without port
  long port = 0;
  Text path;  // request target, query and fragment included
  // "http://host:port" / "https://host:port", what the transfer connects to.
  std::string Origin() const;
};

// The WinINet routine's rules: lower-cased host cut at its first colon, the
// port after the last colon (443/80 by scheme otherwise), the path taken
// from the URL as passed, a URL without scheme taken as http. Not ok for an
// empty host or a port outside 1..65535.
UrlParts WinInetUrlParts(std::string_view url);

// The WinHTTP routine's rules: scheme http or https (any letter case),
// host, optional port, path and extra information (query and fragment).
// A URL with an empty path requests "/" without the extra information.
UrlParts CrackUrl(std::string_view url);

}  // namespace quillet
