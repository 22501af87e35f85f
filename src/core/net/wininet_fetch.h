#pragma once

// One HTTP or HTTPS request the way the program's WinINet routine makes it;
// used by the connectivity probe and the home page. Blocks the calling
// thread; no events are pumped.

#include "core/text/text.h"

namespace quillet {

struct WinInetFetchArgs {
  // "http://" or "https://" URL; without a scheme it is taken as http.
  Text url{};
  // 0 GET .. 7 CONNECT as for HttpObjectRequest; other numbers are GET.
  int method = 0;
  // Body source for methods other than GET when `postBytes` is empty.
  Text postText{};
  // In/out; null: not supplied. When supplied it takes part in the merge.
  Text* cookieText = nullptr;
  // Out: the cookies the response set, or the merged cookie text.
  Text* returnedCookies = nullptr;
  // In only: header text to send.
  const Text* extraHeaders = nullptr;
  // Out: the raw response header block (see below).
  Text* responseHeaders = nullptr;
  bool noRedirects = false;
  // In/out: body for methods other than GET; when empty it is filled from
  // the post text and written back.
  Bytes* postBytes = nullptr;
  // "host:port", or empty for a direct connection.
  Text proxy{};
  bool mergeCookies = true;
  bool completeHeaders = true;
  bool normaliseHeaderNames = true;
};

// The response body (what could be read). Empty bytes, and no out-parameter
// written, when the URL gives no host or a port outside 1..65535. The
// response headers are the status line and header lines of the final
// response followed by the closing empty line, byte for byte as the server
// sent them, whatever their size; without a response they are 5000 spaces.
Bytes WinInetFetch(const WinInetFetchArgs& args);

}  // namespace quillet
