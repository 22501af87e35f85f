#include "quillet_server.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>

#include "community_site.h"
#include "update_site.h"

namespace quillet::server {
namespace {

std::string HttpDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm gmt{};
  gmtime_r(&now, &gmt);
  char buffer[64];
  std::strftime(buffer, sizeof buffer, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
  return buffer;
}

}  // namespace

QuilletServer::QuilletServer(ServerConfig config) : config_(std::move(config)) {}

QuilletServer::~QuilletServer() { Stop(); }

bool QuilletServer::Start(std::string* error) {
  if (http_) return true;
  if (!store_.Open(config_.dbPath, error)) return false;
  http_ = std::make_unique<httplib::Server>();
  const int threads = config_.threads < 1 ? 1 : config_.threads;
  http_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  http_->set_payload_max_length(1 << 20);
  // strftime's names are the C locale's, which HTTP dates need.
  const auto stampDate = [](const httplib::Request&, httplib::Response& res) {
    if (!res.has_header("Date")) res.set_header("Date", HttpDateNow());
  };
  http_->set_post_routing_handler(stampDate);
  http_->set_error_handler(stampDate);

  account_ = std::make_unique<AccountService>(store_, config_.account);
  account_->Register(*http_);
  UpdateSite(config_.updateDir).Register(*http_);
  RegisterAccountIndex(*http_, store_);

  if (config_.port == 0) {
    port_ = http_->bind_to_any_port(config_.bind);
  } else {
    port_ = http_->bind_to_port(config_.bind, config_.port) ? config_.port : -1;
  }
  if (port_ <= 0) {
    if (error) *error = "cannot listen on " + config_.bind + ":" + std::to_string(config_.port);
    http_.reset();
    account_.reset();
    store_.Close();
    port_ = 0;
    return false;
  }
  auto ended = std::make_shared<std::atomic<bool>>(false);
  thread_ = std::thread([this, ended] {
    http_->listen_after_bind();
    ended->store(true);
  });
  while (!http_->is_running() && !ended->load()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (ended->load() && !http_->is_running()) {
    if (error) *error = "the server stopped at once";
    Stop();
    return false;
  }
  return true;
}

void QuilletServer::Stop() {
  if (!http_) return;
  http_->stop();
  if (thread_.joinable()) thread_.join();
  http_.reset();
  account_.reset();
  store_.Close();
}

std::string QuilletServer::BaseUrl() const {
  return "http://" + config_.bind + ":" + std::to_string(port_) + "/";
}

}  // namespace quillet::server
