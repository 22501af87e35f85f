#include "core/startup/connectivity_probe.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace quillet {

namespace {

struct UrlDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
struct EasyDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct CurlTextDeleter {
  void operator()(char* p) const { curl_free(p); }
};

std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK || raw == nullptr) return {};
  std::unique_ptr<char, CurlTextDeleter> owned(raw);
  return owned.get();
}

}  // namespace

bool BodyContainsMarker(const Bytes& body, const std::string& marker) {
  if (marker.empty()) return false;
  return std::search(body.begin(), body.end(), marker.begin(), marker.end(),
                     [](std::uint8_t b, char m) { return b == static_cast<std::uint8_t>(m); }) !=
         body.end();
}

bool CheckConnection(const Text& url, long timeoutSeconds) {
  std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
  if (!parsed) return false;
  if (curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(),
                   CURLU_DEFAULT_SCHEME | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    return false;
  }
  const std::string host = UrlPart(parsed.get(), CURLUPART_HOST, 0);
  const std::string port = UrlPart(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  if (host.empty() || port.empty()) return false;

  // Only the TCP connection is wanted, like a forced connection check: with
  // the plain-HTTP scheme CONNECT_ONLY stops after connecting, whereas
  // "https" would add a TLS handshake that says nothing more about the line.
  const std::string target = "http://" + host + ":" + port + "/";
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return false;
  curl_easy_setopt(easy.get(), CURLOPT_URL, target.c_str());
  curl_easy_setopt(easy.get(), CURLOPT_CONNECT_ONLY, 1L);
  curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT, timeoutSeconds);
  curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy.get(), CURLOPT_NOPROXY, "*");
  return curl_easy_perform(easy.get()) == CURLE_OK;
}

bool ProbeConnectivity(const ProbeTarget& target, const ProbeSteps& steps) {
  if (!steps.checkConnection || !steps.fetchPage) return false;
  if (!steps.checkConnection(target.checkUrl)) return false;
  return BodyContainsMarker(steps.fetchPage(target.pageUrl), target.marker);
}

}  // namespace quillet
