#include "core/net/curl_transfer.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string_view>

#include "core/platform/event_pump.h"

namespace quillet {

namespace {

// Windows HTTP stacks give up after ten hops as well.
constexpr int kMaxRedirects = 10;
// A body larger than this is treated as a failed read rather than taken
// into memory; no page or reply of the program comes near it.
constexpr std::size_t kMaxBodyBytes = std::size_t{1} << 30;

using Clock = std::chrono::steady_clock;

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct UrlDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

struct HopState {
  EventPump* pump = nullptr;
  long idleTimeoutMs = 0;
  curl_off_t lastDown = -1;
  curl_off_t lastUp = -1;
  Clock::time_point lastProgress = Clock::now();
  bool timedOut = false;
  bool connected = false;
  bool tooLarge = false;
  CurlTransferResult* result = nullptr;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view LineName(std::string_view line) {
  const std::size_t colon = line.find(':');
  std::string_view name = line.substr(0, colon == std::string_view::npos ? 0 : colon);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  return name;
}

bool HasLine(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (EqualsIgnoringCase(LineName(line), name)) return true;
  }
  return false;
}

long StatusOf(std::string_view statusLine) {
  const std::size_t space = statusLine.find(' ');
  if (space == std::string_view::npos) return 0;
  long code = 0;
  for (std::size_t i = space + 1; i < statusLine.size() && i < space + 4; ++i) {
    const char c = statusLine[i];
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* state = static_cast<HopState*>(user);
  CurlTransferResult& result = *state->result;
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    // A new response begins: an interim 1xx, or the answer after an
    // authentication round. Only the last one is reported.
    result.rawHeaders.clear();
    result.body.clear();
    result.headersComplete = false;
    result.status = StatusOf(line);
  }
  // Trailers of a chunked body arrive here too; they are not part of the
  // header block.
  if (result.headersComplete) return size * count;
  result.rawHeaders.append(line);
  if ((line == "\r\n" || line == "\n") && result.status >= 200) result.headersComplete = true;
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* state = static_cast<HopState*>(user);
  Bytes& body = state->result->body;
  const std::size_t n = size * count;
  if (body.size() + n > kMaxBodyBytes) {
    state->tooLarge = true;
    return 0;
  }
  body.insert(body.end(), reinterpret_cast<const std::uint8_t*>(data),
              reinterpret_cast<const std::uint8_t*>(data) + n);
  return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
  auto* state = static_cast<HopState*>(user);
  if (state->pump != nullptr) state->pump->PumpPending();
  if (state->idleTimeoutMs <= 0) return 0;
  const Clock::time_point now = Clock::now();
  if (down != state->lastDown || up != state->lastUp) {
    state->lastDown = down;
    state->lastUp = up;
    state->lastProgress = now;
    return 0;
  }
  if (now - state->lastProgress > std::chrono::milliseconds(state->idleTimeoutMs)) {
    state->timedOut = true;
    return 1;
  }
  return 0;
}

int OnConnected(void* user, char*, char*, int, int) {
  static_cast<HopState*>(user)->connected = true;
  return CURL_PREREQFUNC_OK;
}

void EnsureGlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// libcurl reads "Name:" as "drop your own Name header"; a line that is meant
// to go out with an empty value is written "Name;".
std::string CurlHeaderLine(const std::string& line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return line;
  if (line.find_first_not_of(' ', colon + 1) != std::string::npos) return line;
  return line.substr(0, colon) + ";";
}

HeaderList BuildHeaders(const std::vector<std::string>& lines, bool moveProxyAuthorization) {
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    if (moveProxyAuthorization && EqualsIgnoringCase(LineName(line), "Proxy-Authorization")) {
      continue;
    }
    list = curl_slist_append(list, CurlHeaderLine(line).c_str());
  }
  for (std::string_view own : {"Accept", "Expect", "Content-Type"}) {
    if (!HasLine(lines, own)) list = curl_slist_append(list, (std::string(own) + ":").c_str());
  }
  return HeaderList(list);
}

HeaderList BuildProxyHeaders(const std::vector<std::string>& lines, bool moveProxyAuthorization) {
  curl_slist* list = curl_slist_append(nullptr, "Proxy-Connection:");
  if (moveProxyAuthorization) {
    for (const std::string& line : lines) {
      if (EqualsIgnoringCase(LineName(line), "Proxy-Authorization")) {
        list = curl_slist_append(list, CurlHeaderLine(line).c_str());
      }
    }
  }
  return HeaderList(list);
}

void ApplyMethod(CURL* h, const std::string& method, const Bytes* body, bool sendBody) {
  static const char kEmpty[] = "";
  curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  if (method == "HEAD") {
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    return;
  }
  if (sendBody) {
    const bool empty = body == nullptr || body->empty();
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(empty ? 0 : body->size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS,
                     empty ? kEmpty : reinterpret_cast<const char*>(body->data()));
  }
  if (method != "GET" || sendBody) {
    if (method != "POST" || !sendBody) curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, method.c_str());
  }
}

TransferFailure Classify(CURLcode rc, const HopState& state) {
  if (rc == CURLE_URL_MALFORMAT || rc == CURLE_UNSUPPORTED_PROTOCOL) return TransferFailure::kSetUp;
  if (!state.connected) return TransferFailure::kConnect;
  if (state.result->headersComplete) return TransferFailure::kRead;
  if (rc == CURLE_SEND_ERROR && !state.timedOut) return TransferFailure::kSend;
  return TransferFailure::kReceive;
}

std::string HeaderValue(std::string_view raw, std::string_view name) {
  std::size_t pos = 0;
  std::string value;
  while (pos < raw.size()) {
    std::size_t end = raw.find('\n', pos);
    if (end == std::string_view::npos) end = raw.size();
    std::string_view line = raw.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringCase(LineName(line), name)) {
      std::string_view v = line.substr(colon + 1);
      while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
      while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
      value.assign(v);
    }
    pos = end + 1;
  }
  return value;
}

// The absolute URL a Location value points to, or empty when it cannot be
// followed (not http or https, unparsable).
std::string ResolveLocation(const std::string& base, const std::string& location) {
  std::unique_ptr<CURLU, UrlDeleter> u(curl_url());
  if (!u || curl_url_set(u.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK) return {};
  if (curl_url_set(u.get(), CURLUPART_URL, location.c_str(), CURLU_URLENCODE) != CURLUE_OK) {
    return {};
  }
  char* scheme = nullptr;
  char* full = nullptr;
  std::string out;
  if (curl_url_get(u.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      (std::string_view(scheme) == "http" || std::string_view(scheme) == "https") &&
      curl_url_get(u.get(), CURLUPART_URL, &full, 0) == CURLUE_OK) {
    out = full;
  }
  curl_free(scheme);
  curl_free(full);
  return out;
}

bool IsRedirect(long status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

std::string EscapeRequestTarget(std::string_view target) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(target.size());
  for (const char ch : target) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

CurlTransferResult CurlTransfer(const CurlTransferRequest& request) {
  CurlTransferResult result;
  EnsureGlobalInit();
  EasyHandle easy(curl_easy_init());
  if (!easy) {
    result.failure = TransferFailure::kSetUp;
    return result;
  }
  CURL* h = easy.get();
  HopState state;
  state.pump = request.pump;
  state.idleTimeoutMs = request.idleTimeoutMs;
  state.result = &result;

  HeaderList headers;
  HeaderList proxyHeaders;

  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_HEADEROPT, CURLHEADER_SEPARATE);
  curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
  curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  // The certificate tolerance of the callers covers an unknown authority,
  // a wrong name, a wrong usage and an expired certificate: all of what
  // verification checks.
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
  // An empty proxy also keeps libcurl from picking one up from the
  // environment.
  curl_easy_setopt(h, CURLOPT_PROXY, request.proxy.c_str());
  if (!request.proxy.empty() && !request.proxyUser.empty()) {
    curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, request.proxyUser.c_str());
    curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, request.proxyPassword.c_str());
    curl_easy_setopt(h, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
  }
  if (!request.serverUser.empty()) {
    curl_easy_setopt(h, CURLOPT_USERNAME, request.serverUser.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, request.serverPassword.c_str());
    curl_easy_setopt(
        h, CURLOPT_HTTPAUTH,
        static_cast<long>(request.serverAuthOnChallenge ? (CURLAUTH_BASIC | CURLAUTH_DIGEST)
                                                        : CURLAUTH_BASIC));
  }
  if (request.connectTimeoutMs > 0) {
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  }
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &state);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &state);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &state);
  curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, &OnConnected);
  curl_easy_setopt(h, CURLOPT_PREREQDATA, &state);

  std::string url = request.url;
  std::string target = request.requestTarget;
  std::string method = request.method;
  bool sendBody = request.sendBody;
  for (int hop = 0;; ++hop) {
    // Through a tunnel the proxy's credentials belong to the CONNECT
    // request, not to the server behind it; a redirect may change the
    // scheme, so the lists are made per hop.
    const bool tunnel = !request.proxy.empty() && url.size() >= 8 &&
                        EqualsIgnoringCase(url.substr(0, 8), "https://");
    headers = BuildHeaders(request.headers, tunnel);
    proxyHeaders = BuildProxyHeaders(request.headers, tunnel);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_PROXYHEADER, proxyHeaders.get());
    if (!target.empty() && !request.proxy.empty() && !tunnel) {
      // A plain request through a proxy names the whole URL.
      target = url + target;
    }
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, target.empty() ? nullptr : target.c_str());
    ApplyMethod(h, method, request.body, sendBody);
    result = CurlTransferResult{};
    state.timedOut = false;
    state.tooLarge = false;
    state.lastProgress = Clock::now();
    state.lastDown = state.lastUp = -1;
    const CURLcode rc = curl_easy_perform(h);
    if (request.pump != nullptr) request.pump->PumpPending();
    if (rc != CURLE_OK) {
      result.failure = Classify(rc, state);
      return result;
    }
    if (!request.followRedirects || hop >= kMaxRedirects || !IsRedirect(result.status)) {
      return result;
    }
    const std::string location = HeaderValue(result.rawHeaders, "Location");
    if (location.empty()) return result;
    char* effective = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    std::string base = effective != nullptr ? effective : url;
    if (!request.requestTarget.empty() && hop == 0) {
      base = request.url + request.requestTarget.substr(0, request.requestTarget.find('#'));
    }
    std::string next = ResolveLocation(base, location);
    if (next.empty()) return result;
    if ((result.status == 303 && method != "HEAD") ||
        ((result.status == 301 || result.status == 302) && method == "POST")) {
      method = "GET";
      sendBody = false;
    }
    url = std::move(next);
    target.clear();
  }
}

}  // namespace quillet
