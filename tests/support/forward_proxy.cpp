#include "forward_proxy.h"

#include <openssl/evp.h>
#include <poll.h>

#include <cstdlib>

#include "socket_stream.h"

namespace quillet::test {

namespace {

std::string Base64(const std::string& data) {
  std::string out(4 * ((data.size() + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                reinterpret_cast<const unsigned char*>(data.data()),
                                static_cast<int>(data.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

bool SplitHostPort(const std::string& authority, std::string* host, int* port) {
  const std::size_t colon = authority.rfind(':');
  if (colon == std::string::npos) return false;
  *host = authority.substr(0, colon);
  *port = std::atoi(authority.c_str() + colon + 1);
  return !host->empty() && *port > 0;
}

// Copies bytes both ways until either side closes.
void Relay(SocketStream& a, SocketStream& b, const std::atomic<bool>& stop) {
  while (!stop) {
    pollfd fds[2] = {{a.fd(), POLLIN, 0}, {b.fd(), POLLIN, 0}};
    if (poll(fds, 2, 20) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      SocketStream& from = i == 0 ? a : b;
      SocketStream& to = i == 0 ? b : a;
      std::string chunk;
      if (!from.ReadSome(&chunk) || !to.WriteAll(chunk)) return;
    }
  }
}

}  // namespace

ForwardProxy::ForwardProxy(std::string user, std::string password)
    : expectedAuthorization_("Basic " + Base64(user + ":" + password)) {
  listener_ = std::make_unique<LoopbackListener>(
      [this](int fd, LoopbackListener& listener) { Serve(fd, listener); });
}

ForwardProxy::~ForwardProxy() { Stop(); }

std::string ForwardProxy::Address() const { return "127.0.0.1:" + std::to_string(port()); }

std::vector<RecordedRequest> ForwardProxy::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ForwardProxy::Stop() {
  if (listener_) listener_->Stop();
}

void ForwardProxy::Serve(int fd, LoopbackListener& listener) {
  SocketStream client(fd, nullptr, &listener.stopping());
  std::string buffered;
  while (!listener.stopping()) {
    std::optional<RecordedRequest> request = ReadRequest(client, &buffered);
    if (!request) return;
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(*request);
    }
    if (request->Header("Proxy-Authorization") != expectedAuthorization_) {
      client.WriteAll(MakeResponse(407, "Proxy Authentication Required",
                                   {"Proxy-Authenticate: Basic realm=\"test\""}, ""));
      continue;
    }
    const std::string target = request->Target();
    std::string host;
    int port = 0;
    if (request->Method() == "CONNECT") {
      if (!SplitHostPort(target, &host, &port)) return;
      const int upstreamFd = ConnectLoopback(host, port);
      if (upstreamFd < 0) {
        client.WriteAll(MakeResponse(502, "Bad Gateway", {}, ""));
        return;
      }
      SocketStream upstream(upstreamFd, nullptr, &listener.stopping());
      if (!client.WriteAll("HTTP/1.1 200 Connection established\r\n\r\n")) return;
      if (!buffered.empty() && !upstream.WriteAll(buffered)) return;
      Relay(client, upstream, listener.stopping());
      return;
    }
    // Absolute form: "http://host:port/path".
    constexpr std::string_view kScheme = "http://";
    if (!target.starts_with(kScheme)) return;
    const std::size_t pathAt = target.find('/', kScheme.size());
    const std::string authority = target.substr(kScheme.size(), pathAt - kScheme.size());
    const std::string path = pathAt == std::string::npos ? "/" : target.substr(pathAt);
    if (!SplitHostPort(authority, &host, &port)) port = 80, host = authority;
    const int upstreamFd = ConnectLoopback(host, port);
    if (upstreamFd < 0) {
      client.WriteAll(MakeResponse(502, "Bad Gateway", {}, ""));
      return;
    }
    SocketStream upstream(upstreamFd, nullptr, &listener.stopping());
    std::string forwarded = request->Method() + " " + path + " HTTP/1.1\r\n";
    for (const std::string& line : request->HeaderLines()) {
      const std::string name = line.substr(0, line.find(':'));
      if (name == "Proxy-Authorization" || name == "Proxy-Connection" || name == "Connection") {
        continue;
      }
      forwarded += line + "\r\n";
    }
    forwarded += "Connection: close\r\n\r\n" + request->body;
    if (!upstream.WriteAll(forwarded)) return;
    std::string chunk;
    while (upstream.ReadSome(&chunk)) {
      if (!client.WriteAll(chunk)) return;
      chunk.clear();
    }
    client.ShutdownWrite();
    return;
  }
}

}  // namespace quillet::test
