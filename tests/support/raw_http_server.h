#pragma once

// An HTTP/1.1 server on 127.0.0.1 (free port) built on raw sockets, for
// tests that must see exactly the bytes a client sent and answer with
// exactly the bytes they choose: odd header blocks, cookies, redirects,
// delays, huge or truncated bodies, early closes. Plain or TLS with a
// certificate made at start-up. Connections are kept alive between
// requests unless the reply or the request says otherwise.

#include <openssl/ssl.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "http_message.h"
#include "loopback_listener.h"

namespace quillet::test {

struct ScriptedReply {
  // Written back as they are (see MakeResponse for a well-formed answer).
  std::string bytes;
  // Waited before anything is written; cut short when the server stops.
  int delayMs = 0;
  // Close the connection once the bytes are written.
  bool close = false;
};

class RawHttpServer {
 public:
  using Script = std::function<ScriptedReply(const RecordedRequest&)>;
  enum class Transport { kPlain, kTls };

  explicit RawHttpServer(Script script, Transport transport = Transport::kPlain);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  bool started() const { return listener_ && listener_->started(); }
  int port() const { return listener_ ? listener_->port() : 0; }
  // "http://127.0.0.1:<port>" (https for TLS) followed by `path`.
  std::string Url(std::string_view path = "/") const;
  std::vector<RecordedRequest> Requests() const;
  // The most recent request; an empty record when none came.
  RecordedRequest LastRequest() const;
  // Stops accepting, ends every connection and joins the threads.
  void Stop();

 private:
  void Serve(int fd, LoopbackListener& listener);

  Script script_;
  SSL_CTX* tls_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::unique_ptr<LoopbackListener> listener_;
};

}  // namespace quillet::test
