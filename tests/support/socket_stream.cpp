#include "socket_stream.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quillet::test {

namespace {
constexpr int kSliceMs = 20;
}

SocketStream::SocketStream(int fd, SSL_CTX* tls, const std::atomic<bool>* stop)
    : fd_(fd), stop_(stop) {
  const int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  if (tls == nullptr) return;
  // A client that stalls inside the handshake must not pin the server
  // thread past the test's end.
  timeval limit{5, 0};
  setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  ssl_ = SSL_new(tls);
  ok_ = ssl_ != nullptr && SSL_set_fd(ssl_, fd_) == 1 && SSL_accept(ssl_) == 1;
}

SocketStream::~SocketStream() {
  if (ssl_ != nullptr) {
    if (ok_) SSL_shutdown(ssl_);
    SSL_free(ssl_);
  }
  close(fd_);
}

bool SocketStream::WaitReadable(int timeoutMs) {
  if (ssl_ != nullptr && SSL_pending(ssl_) > 0) return true;
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, timeoutMs) > 0;
}

bool SocketStream::ReadSome(std::string* out) {
  if (!ok_) return false;
  while (!WaitReadable(kSliceMs)) {
    if (stop_->load()) return false;
  }
  char buffer[16384];
  if (ssl_ != nullptr) {
    const int n = SSL_read(ssl_, buffer, sizeof buffer);
    if (n <= 0) return false;
    out->append(buffer, static_cast<std::size_t>(n));
    return true;
  }
  const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  out->append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool SocketStream::WriteAll(std::string_view data) {
  if (!ok_) return false;
  while (!data.empty()) {
    if (stop_->load()) return false;
    if (ssl_ != nullptr) {
      const int n = SSL_write(ssl_, data.data(),
                              static_cast<int>(std::min<std::size_t>(data.size(), 1 << 20)));
      if (n <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(n));
    } else {
      const ssize_t n = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  return true;
}

void SocketStream::ShutdownWrite() {
  if (ssl_ != nullptr && ok_) SSL_shutdown(ssl_);
  shutdown(fd_, SHUT_WR);
}

int ListenLoopback(int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    close(fd);
    return -1;
  }
  *port = ntohs(addr.sin_port);
  return fd;
}

int ConnectLoopback(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = found; a != nullptr && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd >= 0 && connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  return fd;
}

}  // namespace quillet::test
