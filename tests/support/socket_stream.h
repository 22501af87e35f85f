#pragma once

// A connected socket for the loopback test peers, plain or TLS, whose reads
// give up when the owning server stops.

#include <openssl/ssl.h>

#include <atomic>
#include <string>
#include <string_view>

namespace quillet::test {

class SocketStream {
 public:
  // Takes ownership of `fd`. With `tls` the TLS handshake runs as server.
  SocketStream(int fd, SSL_CTX* tls, const std::atomic<bool>* stop);
  ~SocketStream();
  SocketStream(const SocketStream&) = delete;
  SocketStream& operator=(const SocketStream&) = delete;

  bool ok() const { return ok_; }
  int fd() const { return fd_; }
  // Appends what arrives to `out`; false on end of stream, error or stop.
  bool ReadSome(std::string* out);
  bool WriteAll(std::string_view data);
  // True when a read would not block (buffered TLS data or socket readable)
  // within `timeoutMs`.
  bool WaitReadable(int timeoutMs);
  void ShutdownWrite();

 private:
  int fd_;
  SSL* ssl_ = nullptr;
  const std::atomic<bool>* stop_;
  bool ok_ = true;
};

// A listening socket on 127.0.0.1 with a free port; -1 on failure.
int ListenLoopback(int* port);
// A connected socket to 127.0.0.1:`port`, or -1.
int ConnectLoopback(const std::string& host, int port);

}  // namespace quillet::test
