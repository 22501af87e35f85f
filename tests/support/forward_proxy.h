#pragma once

// An HTTP forward proxy on 127.0.0.1 (free port) that demands Basic
// credentials (407 otherwise). Plain requests in absolute form are passed on
// in origin form without the proxy's own headers; CONNECT opens a tunnel.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "http_message.h"
#include "loopback_listener.h"

namespace quillet::test {

class ForwardProxy {
 public:
  ForwardProxy(std::string user, std::string password);
  ~ForwardProxy();
  ForwardProxy(const ForwardProxy&) = delete;
  ForwardProxy& operator=(const ForwardProxy&) = delete;

  bool started() const { return listener_ && listener_->started(); }
  int port() const { return listener_ ? listener_->port() : 0; }
  // "127.0.0.1:<port>".
  std::string Address() const;
  // Every request the proxy received, also the refused ones.
  std::vector<RecordedRequest> Requests() const;
  void Stop();

 private:
  void Serve(int fd, LoopbackListener& listener);

  std::string expectedAuthorization_;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::unique_ptr<LoopbackListener> listener_;
};

}  // namespace quillet::test
