#include "loopback_listener.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "socket_stream.h"

namespace quillet::test {

LoopbackListener::LoopbackListener(Handler handler) : handler_(std::move(handler)) {
  listenFd_ = ListenLoopback(&port_);
  if (listenFd_ >= 0) acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackListener::~LoopbackListener() { Stop(); }

bool LoopbackListener::Sleep(int milliseconds) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return stop_.load(); });
}

void LoopbackListener::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (acceptor_.joinable()) acceptor_.join();
  std::vector<Connection> connections;
  {
    std::lock_guard lock(mutex_);
    connections.swap(connections_);
  }
  for (Connection& c : connections) c.thread.join();
  if (listenFd_ >= 0) {
    close(listenFd_);
    listenFd_ = -1;
  }
}

void LoopbackListener::AcceptLoop() {
  while (!stop_) {
    pollfd p{listenFd_, POLLIN, 0};
    if (poll(&p, 1, 20) <= 0) continue;
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard lock(mutex_);
    // Finished connections are joined as new ones come, so a long run of
    // requests does not pile up threads.
    std::erase_if(connections_, [](Connection& c) {
      if (!c.done->load()) return false;
      c.thread.join();
      return true;
    });
    auto done = std::make_shared<std::atomic<bool>>(false);
    connections_.push_back({std::thread([this, fd, done] {
                              handler_(fd, *this);
                              *done = true;
                            }),
                            done});
  }
}

}  // namespace quillet::test
