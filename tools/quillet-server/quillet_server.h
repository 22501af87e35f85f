#pragma once

// The bundled service: one HTTP server on loopback that plays the program's
// remote peers. Each peer is a module that adds its routes; every response
// carries a "Date:" header so that the server also serves as the time site.

#include <memory>
#include <string>
#include <thread>

#include "account_service.h"
#include "account_store.h"

namespace httplib {
class Server;
}

namespace quillet::server {

struct ServerConfig {
  std::string bind = "127.0.0.1";
  int port = 18080;  // 0: any free port (see Port())
  std::string dbPath = "quillet-server.db";
  int threads = 8;
  AccountServiceConfig account;
  std::string updateDir;  // empty: no update site
};

class QuilletServer {
 public:
  explicit QuilletServer(ServerConfig config);
  ~QuilletServer();
  QuilletServer(const QuilletServer&) = delete;
  QuilletServer& operator=(const QuilletServer&) = delete;

  // Opens the database, binds and starts serving on a thread of its own.
  // False with `error` set when the database or the port cannot be had.
  bool Start(std::string* error);
  // Stops accepting, finishes the requests in flight and closes the
  // database. Safe to call more than once.
  void Stop();

  int Port() const { return port_; }
  std::string BaseUrl() const;  // "http://host:port/"
  AccountStore& Store() { return store_; }

 private:
  ServerConfig config_;
  AccountStore store_;
  std::unique_ptr<AccountService> account_;
  std::unique_ptr<httplib::Server> http_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace quillet::server
