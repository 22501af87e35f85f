#pragma once

// Small helpers shared by the web-access tests: canned replies and byte
// conversions.

#include <string>
#include <vector>

#include "core/text/text.h"
#include "forward_proxy.h"
#include "raw_http_server.h"

namespace quillet::test {

inline ScriptedReply Reply(int status, const std::string& reason, const std::string& body,
                           const std::vector<std::string>& headers = {}) {
  return {MakeResponse(status, reason, headers, body)};
}

inline ScriptedReply Ok(const std::string& body, const std::vector<std::string>& headers = {}) {
  return Reply(200, "OK", body, headers);
}

inline std::string AsString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
inline Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A loopback port that nothing listens on.
int RefusingPort();

// The header lines a request carried, without the Host line that every
// HTTP/1.1 request must have.
std::vector<std::string> LinesWithoutHost(const RecordedRequest& request);

}  // namespace quillet::test
