#pragma once

// Accepts connections on 127.0.0.1 (free port) and runs a handler for each
// on its own thread; Stop (or the destructor) ends them all and joins every
// thread.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillet::test {

class LoopbackListener {
 public:
  // Owns the socket `fd` it is handed.
  using Handler = std::function<void(int fd, LoopbackListener& listener)>;

  explicit LoopbackListener(Handler handler);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  bool started() const { return listenFd_ >= 0; }
  int port() const { return port_; }
  const std::atomic<bool>& stopping() const { return stop_; }
  // Sleeps `milliseconds`; false when Stop cut the sleep short.
  bool Sleep(int milliseconds);
  void Stop();

 private:
  struct Connection {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  void AcceptLoop();

  Handler handler_;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Connection> connections_;
  std::thread acceptor_;
};

}  // namespace quillet::test
