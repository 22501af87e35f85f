#include "http_message.h"

#include <cctype>
#include <cstdlib>

#include "socket_stream.h"

namespace quillet::test {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Fill(SocketStream& stream, std::string* buffered, std::size_t atLeast) {
  while (buffered->size() < atLeast) {
    if (!stream.ReadSome(buffered)) return false;
  }
  return true;
}

bool ReadLine(SocketStream& stream, std::string* buffered, std::string* line) {
  std::size_t end;
  while ((end = buffered->find("\r\n")) == std::string::npos) {
    if (!stream.ReadSome(buffered)) return false;
  }
  *line = buffered->substr(0, end);
  buffered->erase(0, end + 2);
  return true;
}

}  // namespace

std::string RecordedRequest::Method() const { return requestLine.substr(0, requestLine.find(' ')); }

std::string RecordedRequest::Target() const {
  const std::size_t first = requestLine.find(' ');
  const std::size_t last = requestLine.rfind(' ');
  if (first == std::string::npos || last <= first) return {};
  return requestLine.substr(first + 1, last - first - 1);
}

std::vector<std::string> RecordedRequest::HeaderLines() const {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < headerBlock.size()) {
    const std::size_t end = headerBlock.find("\r\n", pos);
    if (end == std::string::npos || end == pos) break;
    lines.push_back(headerBlock.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::optional<std::string> RecordedRequest::Header(std::string_view name) const {
  for (const std::string& line : HeaderLines()) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos &&
        EqualIgnoringCase(Trim(std::string_view(line).substr(0, colon)), name)) {
      return std::string(Trim(std::string_view(line).substr(colon + 1)));
    }
  }
  return std::nullopt;
}

std::optional<RecordedRequest> ReadRequest(SocketStream& stream, std::string* buffered) {
  std::size_t headEnd;
  while ((headEnd = buffered->find("\r\n\r\n")) == std::string::npos) {
    if (!stream.ReadSome(buffered)) return std::nullopt;
  }
  RecordedRequest request;
  const std::size_t lineEnd = buffered->find("\r\n");
  request.requestLine = buffered->substr(0, lineEnd);
  request.headerBlock = buffered->substr(lineEnd + 2, headEnd + 4 - (lineEnd + 2));
  buffered->erase(0, headEnd + 4);

  const std::optional<std::string> length = request.Header("Content-Length");
  const std::optional<std::string> encoding = request.Header("Transfer-Encoding");
  if (encoding && EqualIgnoringCase(*encoding, "chunked")) {
    for (;;) {
      std::string sizeLine;
      if (!ReadLine(stream, buffered, &sizeLine)) return std::nullopt;
      const std::size_t size = std::strtoul(sizeLine.c_str(), nullptr, 16);
      if (!Fill(stream, buffered, size + 2)) return std::nullopt;
      request.body.append(*buffered, 0, size);
      buffered->erase(0, size + 2);
      if (size == 0) break;
    }
  } else if (length) {
    const std::size_t size = std::strtoul(length->c_str(), nullptr, 10);
    if (!Fill(stream, buffered, size)) return std::nullopt;
    request.body = buffered->substr(0, size);
    buffered->erase(0, size);
  }
  return request;
}

std::string MakeResponse(int status, std::string_view reason,
                         const std::vector<std::string>& headers, std::string_view body) {
  std::string out = "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) + "\r\n";
  for (const std::string& h : headers) out += h + "\r\n";
  out += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  out += body;
  return out;
}

}  // namespace quillet::test
