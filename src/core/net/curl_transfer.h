#pragma once

// One synchronous HTTP/1.1 exchange on a fresh libcurl easy handle, sending
// exactly the header lines it is given. libcurl's own additions that a
// Windows HTTP stack would not make (Accept, Expect, a form Content-Type,
// Proxy-Connection) are suppressed; Host and Content-Length stay. Redirects
// are followed here, hop by hop, so that a hand-made request target (one
// carrying a fragment) is used for the first hop only.

#include <string>
#include <vector>

#include "core/text/text.h"

namespace quillet {

class EventPump;

struct CurlTransferRequest {
  // Where to connect: "http://host:port" or "https://host:port", optionally
  // followed by the path; with an empty `requestTarget` libcurl derives the
  // request line from it.
  std::string url;
  // The request line's target as given (origin form), or empty.
  std::string requestTarget;
  std::string method = "GET";
  // "Name: value" lines, sent in this order.
  std::vector<std::string> headers;
  // Sent as the body when `sendBody` (also with GET).
  const Bytes* body = nullptr;
  bool sendBody = false;
  // "host:port" of an HTTP proxy, or empty for a direct connection.
  std::string proxy;
  // Basic credentials offered to the proxy up front (empty: none).
  std::string proxyUser;
  std::string proxyPassword;
  // Credentials for the server; `serverAuthOnChallenge` waits for a 401
  // before sending them, otherwise Basic is sent with the first request.
  std::string serverUser;
  std::string serverPassword;
  bool serverAuthOnChallenge = false;
  // Connect and idle limits in milliseconds; 0 means none.
  long connectTimeoutMs = 0;
  long idleTimeoutMs = 0;
  bool followRedirects = true;
  EventPump* pump = nullptr;
};

// How far the exchange got before it failed.
enum class TransferFailure {
  kNone,
  kSetUp,    // no easy handle, or the URL was refused
  kConnect,  // no connection (resolve, connect, TLS, proxy tunnel)
  kSend,     // connected, request could not be written
  kReceive,  // request sent, no complete response header block
  kRead,     // response header block complete, body cut short
};

struct CurlTransferResult {
  TransferFailure failure = TransferFailure::kNone;
  long status = 0;
  // Status line, header lines and the closing empty line of the final
  // response, byte for byte as the server sent them.
  std::string rawHeaders;
  Bytes body;
  bool headersComplete = false;
};

CurlTransferResult CurlTransfer(const CurlTransferRequest& request);

// The request target is sent verbatim by libcurl; bytes that cannot stand in
// a request line (controls, space, 8-bit) are percent-encoded here.
std::string EscapeRequestTarget(std::string_view target);

}  // namespace quillet
