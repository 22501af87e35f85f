#pragma once

// One HTTP request through a synchronous request object; the transport of
// the account client. Blocks the calling thread; no events are pumped.

#include <optional>

#include "core/net/http_request_object.h"
#include "core/text/text.h"

namespace quillet {

struct HttpObjectRequestArgs {
  Text url{};
  // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT;
  // any other number is GET.
  int method = 0;
  // Body when `postBytes` is empty.
  Text postText{};
  // In/out; null: not supplied. When supplied a Cookie header is always
  // sent (also an empty one), and the text may be rewritten.
  Text* cookieText = nullptr;
  // Out: the cookies the response set, or the merged cookie text.
  Text* returnedCookies = nullptr;
  // In/out: header text to send; receives the completed, normalised text.
  Text* extraHeaders = nullptr;
  // Out: the response's header lines (see the note on the shape below).
  Text* responseHeaders = nullptr;
  // Out: the status code, 0 without a response.
  int* statusCode = nullptr;
  bool noRedirects = false;
  Bytes postBytes{};
  // "host:port", or empty for a direct connection.
  Text proxy{};
  // Seconds; -1 sets no time-outs, 0 or less 15 s, n >= 1 n seconds.
  int timeout = 0;
  Text proxyUserName{};
  Text proxyPassword{};
  // 1: credentials for the proxy, sent up front as Proxy-Authorization
  // Basic; 0: credentials for the server, sent when it asks.
  int credentialFlag = 1;
  // When given, the request is made on this object and its settings persist.
  HttpRequestObject* requestObject = nullptr;
  bool mergeCookies = true;
  bool completeHeaders = true;
  bool normaliseHeaderNames = true;
};

// The response body; empty on any failure (and then the out-parameters hold
// empty headers and status 0). Response headers come back as every header
// line after the status line, each ending with CR LF, followed by the empty
// line that closed the block, byte for byte as the server sent them.
Bytes HttpObjectRequest(const HttpObjectRequestArgs& args);

}  // namespace quillet
