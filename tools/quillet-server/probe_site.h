#pragma once

// The public HTTPS site of the connectivity probe, played on loopback: one
// page "/" that carries the probe marker (UTF-8, undecoded bytes are what the
// program searches), served over TLS with a throw-away self-signed
// certificate made at start, so no key material is kept anywhere.

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
class SSLServer;
}  // namespace httplib

namespace quillet::server {

struct ProbeSiteConfig {
  std::string bind = "127.0.0.1";
  int port = 18443;    // 0: any free port (see Port())
  std::string marker;  // UTF-8 text the page carries
  // The page "/" serves; ProbePageHtml(marker) when empty. The community
  // site shares the host and gives its home page here (it must carry the
  // marker too).
  std::function<std::string()> page{};
  // Adds the host's other pages before it starts listening.
  std::function<void(httplib::Server&)> routes{};
};

// The build's probe page address and marker (port from the page address,
// 443 when it names none).
ProbeSiteConfig ProbeSiteConfigFromBuild();

// The page body: a small UTF-8 home page whose search button carries `marker`.
std::string ProbePageHtml(const std::string& marker);

class ProbeSite {
 public:
  explicit ProbeSite(ProbeSiteConfig config);
  ~ProbeSite();
  ProbeSite(const ProbeSite&) = delete;
  ProbeSite& operator=(const ProbeSite&) = delete;

  // Makes the certificate, binds and serves on a thread of its own. False
  // with `error` set (when given) when that fails.
  bool Start(std::string* error);
  void Stop();

  int Port() const { return port_; }
  std::string Url() const;  // "https://host:port/"

 private:
  ProbeSiteConfig config_;
  std::unique_ptr<httplib::SSLServer> https_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace quillet::server
