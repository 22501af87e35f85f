#pragma once

// Reading one HTTP/1.1 request off a stream, keeping its bytes untouched.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::test {

class SocketStream;

struct RecordedRequest {
  // The request line without its CR LF, e.g. "GET /a?b#c HTTP/1.1".
  std::string requestLine;
  // The header lines after the request line, up to and including the empty
  // line that ends the block, exactly as received.
  std::string headerBlock;
  std::string body;

  std::string Method() const;
  std::string Target() const;
  // The header lines in order without line ends ("Name: value").
  std::vector<std::string> HeaderLines() const;
  // The value of the first header named `name` (ASCII case ignored),
  // trimmed; nullopt when there is none.
  std::optional<std::string> Header(std::string_view name) const;
};

// Reads the next request; `buffered` holds bytes read beyond the previous
// one. Handles Content-Length and chunked bodies. Nullopt when the stream
// ends first or the head is malformed.
std::optional<RecordedRequest> ReadRequest(SocketStream& stream, std::string* buffered);

// "HTTP/1.1 <status> <reason>" with the given header lines, a
// Content-Length and the body.
std::string MakeResponse(int status, std::string_view reason,
                         const std::vector<std::string>& headers, std::string_view body);

}  // namespace quillet::test
