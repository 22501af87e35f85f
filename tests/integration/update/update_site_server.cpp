#include "update_site_server.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "update_site.h"

namespace quillet::test {

UpdateSiteServer::UpdateSiteServer(const std::string& directory)
    : http_(std::make_unique<httplib::Server>()) {
  server::UpdateSite(directory).Register(*http_);
  port_ = http_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("cannot bind the update site");
  thread_ = std::thread([this] { http_->listen_after_bind(); });
  while (!http_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

UpdateSiteServer::~UpdateSiteServer() {
  http_->stop();
  if (thread_.joinable()) thread_.join();
}

std::string UpdateSiteServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_);
}

}  // namespace quillet::test
