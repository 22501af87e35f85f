#pragma once

// One HTTP or HTTPS request the way the program's WinHTTP routine makes it:
// the body comes back as a page text (decoded from the character set its
// meta tag names), every failure as a numbered error text, and window events
// keep flowing through `pump` while it waits. Used by the update check.

#include "core/text/text.h"

namespace quillet {

class EventPump;

struct WinHttpFetchArgs {
  Text url{};
  // 0 GET .. 7 CONNECT; other numbers are GET.
  int method = 0;
  // Body when `postBytes` is empty; sent with every method.
  Text postText{};
  // In/out: cookies to send; a non-empty text takes part in the merge.
  Text* cookieText = nullptr;
  // Out: the cookies the response set, or the merged cookie text.
  Text* returnedCookies = nullptr;
  // In only.
  const Text* extraHeaders = nullptr;
  // Out: the raw response header block (see below).
  Text* responseHeaders = nullptr;
  bool noRedirects = false;
  // Basic credentials for the server (both must be non-empty).
  Text userName{};
  Text password{};
  // "host:port", or empty for a direct connection.
  Text proxy{};
  // Basic credentials for the proxy (both must be non-empty).
  Text proxyUserName{};
  Text proxyPassword{};
  // Seconds; 1 or more: that many, otherwise 30.
  int timeout = 0;
  // Out: the value of a "Location: " response header.
  Text* redirectLocation = nullptr;
  // Out: the status ("200 OK") or a numbered error text.
  Text* statusOrError = nullptr;
  // Out: the raw response body.
  Bytes* bodyBytes = nullptr;
  bool mergeCookies = true;
  bool completeHeaders = true;
  Bytes postBytes{};
  bool normaliseHeaderNames = true;
  // Events pumped after every step and during the transfer; null: none.
  EventPump* pump = nullptr;
};

// The page text; empty on every failure. The response headers are the
// status line and header lines of the final response followed by the
// closing empty line, byte for byte as the server sent them.
Text WinHttpFetch(const WinHttpFetchArgs& args);

}  // namespace quillet
