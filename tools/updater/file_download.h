#pragma once

// One file download over HTTP(S) into a file, with its SHA-256 computed on
// the way and progress reported as bytes arrive.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace quillet::updater {

struct DownloadRequest {
  std::string url;
  // An existing file; it is truncated and receives the body.
  std::string destination;
  // The body may not be longer than this.
  std::uint64_t maxBytes = 0;
  // Bytes received so far; called on the downloading thread.
  std::function<void(std::uint64_t received)> progress;
  // Set from another thread to stop the transfer.
  const std::atomic<bool>* cancel = nullptr;
  long connectTimeoutMs = 15000;
  // The transfer ends when nothing arrives for this long.
  long stallTimeoutMs = 30000;
};

struct DownloadResult {
  bool ok = false;
  bool cancelled = false;
  std::string error;  // Chinese, UTF-8; empty when ok
  std::uint64_t bytes = 0;
  std::string sha256;  // lower-case hex of what was written
};

DownloadResult DownloadFile(const DownloadRequest& request);

}  // namespace quillet::updater
