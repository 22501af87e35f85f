#include "raw_http_server.h"

#include "socket_stream.h"
#include "tls_identity.h"

namespace quillet::test {

RawHttpServer::RawHttpServer(Script script, Transport transport) : script_(std::move(script)) {
  if (transport == Transport::kTls) {
    tls_ = NewSelfSignedServerContext();
    if (tls_ == nullptr) return;
  }
  listener_ = std::make_unique<LoopbackListener>(
      [this](int fd, LoopbackListener& listener) { Serve(fd, listener); });
}

RawHttpServer::~RawHttpServer() {
  Stop();
  if (tls_ != nullptr) SSL_CTX_free(tls_);
}

std::string RawHttpServer::Url(std::string_view path) const {
  return std::string(tls_ != nullptr ? "https" : "http") +
         "://127.0.0.1:" + std::to_string(port()) + std::string(path);
}

std::vector<RecordedRequest> RawHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

RecordedRequest RawHttpServer::LastRequest() const {
  std::lock_guard lock(mutex_);
  return requests_.empty() ? RecordedRequest{} : requests_.back();
}

void RawHttpServer::Stop() {
  if (listener_) listener_->Stop();
}

void RawHttpServer::Serve(int fd, LoopbackListener& listener) {
  SocketStream stream(fd, tls_, &listener.stopping());
  if (!stream.ok()) return;
  std::string buffered;
  while (!listener.stopping()) {
    std::optional<RecordedRequest> request = ReadRequest(stream, &buffered);
    if (!request) return;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(*request);
    }
    const ScriptedReply reply = script_(*request);
    if (reply.delayMs > 0 && !listener.Sleep(reply.delayMs)) return;
    if (!reply.bytes.empty() && !stream.WriteAll(reply.bytes)) return;
    const std::optional<std::string> connection = request->Header("Connection");
    if (reply.close || (connection && *connection == "close")) {
      stream.ShutdownWrite();
      return;
    }
  }
}

}  // namespace quillet::test
