#include "core/net/url_parts.h"

#include <charconv>

namespace quillet {

namespace {

// The port digits of a URL; 0 when they are missing, not all digits, or
// outside 1..65535.
long ParsePort(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  long port = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (ec != std::errc() || end != digits.data() + digits.size()) return 0;
  return (port >= 1 && port <= 65535) ? port : 0;
}

}  // namespace

std::string UrlParts::Origin() const {
  return std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port);
}

UrlParts WinInetUrlParts(std::string_view url) {
  UrlParts parts;
  Text lowered = TextLower(url);
  if (!lowered.ends_with('/')) lowered += '/';
  if (!lowered.starts_with("https://") && !TextContains(lowered, "http://")) {
    lowered = "http://" + lowered;
  }
  const std::string_view marker = lowered.starts_with("https://") ? "https://" : "http://";
  const Text hostWithPort = TextBetween(lowered, marker, "/");
  const std::size_t colon = hostWithPort.find(':');
  parts.host = hostWithPort.substr(0, colon);
  parts.secure = TextLower(url.substr(0, 8)) == "https://";
  if (colon == Text::npos) {
    parts.port = TextLower(url).starts_with("https") ? 443 : 80;
  } else {
    parts.port = ParsePort(std::string_view(hostWithPort).substr(hostWithPort.rfind(':') + 1));
  }
  const long hostAt = TextFind(url, parts.host, 1, true);
  const long slashAt = hostAt > 0 ? TextFind(url, "/", hostAt) : -1;
  parts.path = slashAt > 0 ? Text(url.substr(static_cast<std::size_t>(slashAt - 1))) : Text("/");
  parts.ok = !parts.host.empty() && parts.port != 0;
  return parts;
}

UrlParts CrackUrl(std::string_view url) {
  UrlParts parts;
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos) return parts;
  const Text scheme = TextLower(url.substr(0, schemeEnd));
  if (scheme != "http" && scheme != "https") return parts;
  parts.secure = scheme == "https";
  const std::string_view rest = url.substr(schemeEnd + 3);
  const std::size_t authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  const std::string_view tail =
      authorityEnd == std::string_view::npos ? std::string_view{} : rest.substr(authorityEnd);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    authority.remove_prefix(at + 1);
  }
  std::size_t portColon = authority.rfind(':');
  if (authority.starts_with('[')) {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos) return parts;
    if (portColon != std::string_view::npos && portColon < close)
      portColon = std::string_view::npos;
  }
  if (portColon != std::string_view::npos) {
    parts.port = ParsePort(authority.substr(portColon + 1));
    if (parts.port == 0) return parts;
    authority = authority.substr(0, portColon);
  } else {
    parts.port = parts.secure ? 443 : 80;
  }
  parts.host = Text(authority);
  if (parts.host.empty()) return parts;
  const std::size_t extraAt = tail.find_first_of("?#");
  const std::string_view path = tail.substr(0, extraAt);
  parts.path = path.empty() ? Text("/") : Text(tail);
  parts.ok = true;
  return parts;
}

}  // namespace quillet
