#include "core/net/wininet_fetch.h"

#include "core/net/cookies.h"
#include "core/net/curl_transfer.h"
#include "core/net/default_headers.h"
#include "core/net/header_names.h"
#include "core/net/method_names.h"
#include "core/net/request_headers.h"
#include "core/net/url_parts.h"

namespace quillet {

namespace {

// WinINet's own time-outs, which the routine leaves as they are.
constexpr long kConnectTimeoutMs = 60000;
constexpr long kReceiveTimeoutMs = 30000;
// What the header query leaves in its buffer when there is no response.
constexpr std::size_t kNoHeadersSpaces = 5000;

Text AgentOf(const Text& headers) {
  if (!TextContains(headers, "User-Agent:", true)) return Text(kObjectUserAgent);
  Text agent = TextTrim(TextBetween(headers + "\r\n", "User-Agent:", "\r\n"));
  if (agent.empty()) {
    const std::size_t colon = headers.find(':');
    agent = colon == Text::npos ? Text() : TextTrim(std::string_view(headers).substr(colon + 1));
  }
  // The agent becomes a header line of its own; it ends at its line.
  return agent.substr(0, agent.find_first_of("\r\n"));
}

}  // namespace

Bytes WinInetFetch(const WinInetFetchArgs& args) {
  Text headerText = args.extraHeaders != nullptr ? *args.extraHeaders : Text();
  if (args.normaliseHeaderNames) headerText = NormaliseHeaderNames(headerText);
  const int method = MethodNumber(args.method);
  const Text agent = AgentOf(headerText);

  const UrlParts parts = WinInetUrlParts(args.url);
  if (!parts.ok) return {};

  if (args.completeHeaders) {
    if (headerText.empty()) headerText = "Accept: */*";
    AppendObjectDefaultHeaders(&headerText, args.url, method, false);
  }
  const bool hasCookies = args.cookieText != nullptr && !args.cookieText->empty();
  if (hasCookies) {
    headerText += "\r\n";
    if (!TextContains(*args.cookieText, "Cookie:")) headerText += "Cookie: ";
    headerText += *args.cookieText;
  }

  RequestHeaders headers;
  for (const Text& line : TextSplit(headerText, "\r\n")) {
    if (!line.empty()) headers.AddLine(line);
  }
  // The agent goes out as the User-Agent line unless the caller's headers
  // carry one.
  if (!headers.Has("User-Agent")) headers.Set("User-Agent", agent);

  Bytes body;
  if (method != 0) {
    if (args.postBytes != nullptr && !args.postBytes->empty()) {
      body = *args.postBytes;
    } else {
      body = BytesFromText(args.postText);
      if (args.postBytes != nullptr) *args.postBytes = body;
    }
  }

  CurlTransferRequest request;
  request.url = parts.Origin();
  request.requestTarget = EscapeRequestTarget(parts.path);
  request.method = std::string(MethodName(method));
  request.headers = headers.lines();
  request.body = &body;
  request.sendBody = method != 0 && (!body.empty() || method == 1 || method == 3);
  request.proxy = args.proxy;
  request.connectTimeoutMs = kConnectTimeoutMs;
  request.idleTimeoutMs = kReceiveTimeoutMs;
  request.followRedirects = !args.noRedirects;
  CurlTransferResult response = CurlTransfer(request);

  const bool answered = response.headersComplete;
  const Text responseHeaders = answered ? Text(response.rawHeaders) : Text(kNoHeadersSpaces, ' ');
  if (args.responseHeaders != nullptr) *args.responseHeaders = responseHeaders;

  Text returned = answered ? CollectSetCookies(responseHeaders) : Text();
  if (args.mergeCookies && args.cookieText != nullptr) {
    returned = MergeCookies(args.cookieText, &returned);
  }
  if (args.returnedCookies != nullptr) *args.returnedCookies = returned;
  return std::move(response.body);
}

}  // namespace quillet
