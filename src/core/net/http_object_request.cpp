#include "core/net/http_object_request.h"

#include "core/net/cookies.h"
#include "core/net/curl_transfer.h"
#include "core/net/default_headers.h"
#include "core/net/header_names.h"
#include "core/net/method_names.h"
#include "core/net/request_headers.h"
#include "core/text/digest.h"

namespace quillet {

namespace {

// What a request object waits when nobody set its time-outs.
constexpr long kUnsetConnectMs = 60000;
constexpr long kUnsetReceiveMs = 30000;

void SetHeaderLines(const Text& headers, RequestHeaders* out) {
  if (!TextContains(headers, "\r\n")) {
    if (!headers.empty()) out->Set(HeaderLineName(headers), HeaderLineValue(headers));
    return;
  }
  for (const Text& line : TextSplit(headers, "\r\n")) {
    if (line.empty()) continue;
    const Text name = HeaderLineName(line);
    const Text value = HeaderLineValue(line);
    // The object keeps its connection open by itself; a caller's explicit
    // keep-alive line is left out rather than doubled.
    if (name == "Connection" && value == "keep-alive") continue;
    out->Set(name, value);
  }
}

// The header block without its status line.
Text HeaderLinesOf(const std::string& raw) {
  const std::size_t lineEnd = raw.find('\n');
  return lineEnd == std::string::npos ? Text() : raw.substr(lineEnd + 1);
}

}  // namespace

Bytes HttpObjectRequest(const HttpObjectRequestArgs& args) {
  const int method = MethodNumber(args.method);
  HttpRequestObject ownObject;
  HttpRequestObject& object = args.requestObject != nullptr ? *args.requestObject : ownObject;

  if (args.timeout != -1) object.SetTimeouts(args.timeout >= 1 ? args.timeout * 1000L : 15000L);
  if (!args.proxy.empty()) object.SetProxy(2, args.proxy);
  if (args.noRedirects) object.SetRedirectsEnabled(false);
  object.SetSecurityIgnoreFlags(0x3300);

  Text headerText = args.extraHeaders != nullptr ? *args.extraHeaders : Text();
  if (args.completeHeaders) AppendObjectDefaultHeaders(&headerText, args.url, method, true);
  if (args.normaliseHeaderNames) headerText = NormaliseHeaderNames(headerText);
  if (args.extraHeaders != nullptr) *args.extraHeaders = headerText;

  RequestHeaders headers;
  if (!args.proxy.empty() && !args.proxyUserName.empty()) {
    object.SetCredentials(args.proxyUserName, args.proxyPassword, args.credentialFlag);
    if (args.credentialFlag == 1) {
      headers.Set("Proxy-Authorization",
                  "Basic " + Base64Encode(args.proxyUserName + ":" + args.proxyPassword));
    }
  }
  if (args.cookieText != nullptr) {
    if (!args.cookieText->empty() && TextContains(*args.cookieText, "Cookie:", true)) {
      *args.cookieText = TextReplace(*args.cookieText, "Cookie:", "", 1, -1, true);
    }
    headers.Set("Cookie", *args.cookieText);
  }
  SetHeaderLines(headerText, &headers);

  const Bytes body = !args.postBytes.empty() ? args.postBytes : BytesFromText(args.postText);

  CurlTransferRequest request;
  request.url = args.url;
  request.method = std::string(MethodName(method));
  request.headers = headers.lines();
  request.body = &body;
  request.sendBody = !body.empty() || method == 1 || method == 3;
  request.proxy = object.proxy();
  if (!headers.Has("Proxy-Authorization")) {
    request.proxyUser = object.proxyUser();
    request.proxyPassword = object.proxyPassword();
  }
  request.serverUser = object.serverUser();
  request.serverPassword = object.serverPassword();
  request.serverAuthOnChallenge = true;
  request.connectTimeoutMs = object.timeoutMs().value_or(kUnsetConnectMs);
  request.idleTimeoutMs = object.timeoutMs().value_or(kUnsetReceiveMs);
  request.followRedirects = object.redirects();
  CurlTransferResult response = CurlTransfer(request);

  // A failed exchange leaves nothing to read: no body, no headers, status 0.
  const bool ok = response.failure == TransferFailure::kNone;
  const Text responseHeaders = ok ? HeaderLinesOf(response.rawHeaders) : Text();
  if (args.responseHeaders != nullptr) *args.responseHeaders = responseHeaders;
  if (args.statusCode != nullptr) *args.statusCode = ok ? static_cast<int>(response.status) : 0;

  Text returned = CollectSetCookies(responseHeaders);
  if (args.mergeCookies && args.cookieText != nullptr) {
    returned = MergeCookies(args.cookieText, &returned);
  }
  if (args.returnedCookies != nullptr) *args.returnedCookies = returned;
  return ok ? std::move(response.body) : Bytes();
}

}  // namespace quillet
