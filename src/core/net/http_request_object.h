#pragma once

// A request object a caller keeps across HttpObjectRequest calls. Settings
// made on it by one call (time-outs, proxy, redirect switch, certificate
// tolerance, credentials) stay in force for the next call on the same
// object, the way a reused COM request object keeps them.

#include <optional>
#include <string>

#include "core/text/text.h"

namespace quillet {

class HttpRequestObject {
 public:
  // Four equal time-outs (resolve, connect, send, receive) in milliseconds.
  void SetTimeouts(long milliseconds) { timeoutMs_ = milliseconds; }
  // Only setting 2 (named proxy) is understood; other settings clear it.
  void SetProxy(int setting, std::string proxy) { proxy_ = setting == 2 ? std::move(proxy) : ""; }
  void SetRedirectsEnabled(bool enabled) { redirects_ = enabled; }
  void SetSecurityIgnoreFlags(unsigned flags) { ignoreFlags_ = flags; }
  // Flag 0: credentials for the server, 1: for the proxy; other flags are
  // refused (false).
  bool SetCredentials(const Text& user, const Text& password, int flag);

  std::optional<long> timeoutMs() const { return timeoutMs_; }
  const std::string& proxy() const { return proxy_; }
  bool redirects() const { return redirects_; }
  unsigned ignoreFlags() const { return ignoreFlags_; }
  const Text& serverUser() const { return serverUser_; }
  const Text& serverPassword() const { return serverPassword_; }
  const Text& proxyUser() const { return proxyUser_; }
  const Text& proxyPassword() const { return proxyPassword_; }

 private:
  std::optional<long> timeoutMs_;
  std::string proxy_;
  bool redirects_ = true;
  unsigned ignoreFlags_ = 0;
  Text serverUser_;
  Text serverPassword_;
  Text proxyUser_;
  Text proxyPassword_;
};

}  // namespace quillet
