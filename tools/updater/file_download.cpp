#include "file_download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>

namespace quillet::updater {

namespace {

struct Sink {
  const DownloadRequest* request = nullptr;
  int fd = -1;
  EVP_MD_CTX* digest = nullptr;
  std::uint64_t bytes = 0;
  bool tooLong = false;
  bool writeFailed = false;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  Sink& sink = *static_cast<Sink*>(user);
  const std::size_t length = size * count;
  if (length > sink.request->maxBytes - sink.bytes) {
    sink.tooLong = true;
    return 0;
  }
  if (!WriteAll(sink.fd, std::string_view(data, length)) ||
      EVP_DigestUpdate(sink.digest, data, length) != 1) {
    sink.writeFailed = true;
    return 0;
  }
  sink.bytes += length;
  if (sink.request->progress) sink.request->progress(sink.bytes);
  return length;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const Sink& sink = *static_cast<Sink*>(user);
  return sink.request->cancel != nullptr && sink.request->cancel->load() ? 1 : 0;
}

std::string Hex(const unsigned char* bytes, unsigned length) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned i = 0; i < length; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
  return hex;
}

}  // namespace

DownloadResult DownloadFile(const DownloadRequest& request) {
  DownloadResult result;
  const int fd = ::open(request.destination.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    result.error = "无法写入临时文件";
    return result;
  }
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> digest(EVP_MD_CTX_new(),
                                                                 &EVP_MD_CTX_free);
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1 || !curl) {
    ::close(fd);
    result.error = "无法开始下载";
    return result;
  }

  Sink sink;
  sink.request = &request;
  sink.fd = fd;
  sink.digest = digest.get();
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, request.stallTimeoutMs / 1000));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &sink);
  const CURLcode code = curl_easy_perform(h);

  const bool synced = ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  result.bytes = sink.bytes;
  unsigned char hash[EVP_MAX_MD_SIZE];
  unsigned hashLength = 0;
  if (EVP_DigestFinal_ex(digest.get(), hash, &hashLength) == 1) {
    result.sha256 = Hex(hash, hashLength);
  }

  if (code == CURLE_ABORTED_BY_CALLBACK) {
    result.cancelled = true;
    result.error = "下载已取消";
  } else if (sink.tooLong) {
    result.error = "文件大小与列表不符";
  } else if (sink.writeFailed || !synced || !closed) {
    result.error = "写入文件失败";
  } else if (code == CURLE_HTTP_RETURNED_ERROR) {
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    result.error = "服务器返回错误 " + std::to_string(status);
  } else if (code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST ||
             code == CURLE_OPERATION_TIMEDOUT) {
    result.error = code == CURLE_OPERATION_TIMEDOUT ? "连接超时" : "无法连接更新服务器";
  } else if (code != CURLE_OK) {
    result.error = std::string("下载中断（") + curl_easy_strerror(code) + "）";
  } else {
    result.ok = true;
  }
  return result;
}

}  // namespace quillet::updater
