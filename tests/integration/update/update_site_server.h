#pragma once

// The bundled server's update site on a free loopback port, serving a folder.

#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace quillet::test {

class UpdateSiteServer {
 public:
  explicit UpdateSiteServer(const std::string& directory);
  ~UpdateSiteServer();
  UpdateSiteServer(const UpdateSiteServer&) = delete;
  UpdateSiteServer& operator=(const UpdateSiteServer&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:<port>", the form of the update server setting.
  std::string BaseUrl() const;

 private:
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace quillet::test
