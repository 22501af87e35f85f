// Feeds arbitrary bytes to the header and cookie helpers and the URL
// splitters of the web routines. The first byte splits the rest into two
// texts (old and new cookies, or a header text and a URL).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/net/cookies.h"
#include "core/net/curl_transfer.h"
#include "core/net/header_names.h"
#include "core/net/url_parts.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t cut = size > 1 ? data[0] % size : 0;
  std::string first = input.substr(0, cut);
  std::string second = cut < input.size() ? input.substr(cut) : std::string();

  const std::string normalised = quillet::NormaliseHeaderNames(first);
  // Normalising only drops lines and separators; a second pass changes
  // nothing more.
  Check(normalised.size() <= first.size());
  Check(quillet::NormaliseHeaderNames(normalised) == normalised);

  std::string old = first;
  std::string fresh = second;
  const std::string merged = quillet::MergeCookies(&old, &fresh);
  Check(old == merged);
  (void)quillet::CollectSetCookies(second);

  for (const std::string& url : {first, second}) {
    const quillet::UrlParts inet = quillet::WinInetUrlParts(url);
    Check(!inet.ok || (inet.port >= 1 && inet.port <= 65535 && !inet.host.empty()));
    const quillet::UrlParts cracked = quillet::CrackUrl(url);
    Check(!cracked.ok || cracked.path.starts_with("/"));
    const std::string target = quillet::EscapeRequestTarget(url);
    Check(target.find_first_of(std::string("\r\n \0", 4)) == std::string::npos);
  }
  return 0;
}
