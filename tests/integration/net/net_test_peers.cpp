#include "net_test_peers.h"

#include <unistd.h>

#include "socket_stream.h"

namespace quillet::test {

int RefusingPort() {
  int port = 0;
  const int fd = ListenLoopback(&port);
  if (fd >= 0) close(fd);
  return port;
}

std::vector<std::string> LinesWithoutHost(const RecordedRequest& request) {
  std::vector<std::string> lines;
  for (const std::string& line : request.HeaderLines()) {
    if (!line.starts_with("Host: ")) lines.push_back(line);
  }
  return lines;
}

}  // namespace quillet::test
