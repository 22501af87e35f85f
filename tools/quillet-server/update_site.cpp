#include "update_site.h"

#include <httplib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace quillet::server {

namespace {

constexpr std::string_view kPrefix = "/QuilletUpdate/";

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

bool IsSafeName(std::string_view name) {
  if (name.empty() || name.size() > 1024) return false;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = name.find('/', start);
    const std::string_view segment = name.substr(start, end - start);
    if (segment.empty() || segment == "." || segment == "..") return false;
    if (!std::all_of(segment.begin(), segment.end(), IsNameChar)) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace

UpdateSite::UpdateSite(std::string directory) : directory_(std::move(directory)) {
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
}

std::string UpdateSite::FileFor(std::string_view requestPath) const {
  if (directory_.empty() || requestPath.substr(0, kPrefix.size()) != kPrefix) return {};
  const std::string_view name = requestPath.substr(kPrefix.size());
  if (!IsSafeName(name)) return {};
  return directory_ + "/" + std::string(name);
}

void UpdateSite::Register(httplib::Server& server) const {
  if (directory_.empty()) return;
  // The handler keeps its own copy, so the site need not outlive the server.
  server.Get(
      R"(/QuilletUpdate/.+)", [site = *this](const httplib::Request& req, httplib::Response& res) {
        const std::string path = site.FileFor(req.path);
        struct stat info {};
        if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
          res.status = 404;
          res.set_content("not found", "text/plain");
          return;
        }
        auto file = std::make_shared<std::ifstream>(path, std::ios::binary);
        if (!*file) {
          res.status = 403;
          res.set_content("unreadable", "text/plain");
          return;
        }
        const bool description = req.path == std::string(kPrefix) + "update.txt";
        res.set_content_provider(
            static_cast<std::size_t>(info.st_size),
            description ? "text/plain" : "application/octet-stream",
            [file](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
              char buffer[64 * 1024];
              file->seekg(static_cast<std::streamoff>(offset));
              file->read(buffer, static_cast<std::streamsize>(std::min(length, sizeof buffer)));
              const std::streamsize got = file->gcount();
              if (got <= 0) return false;
              return sink.write(buffer, static_cast<std::size_t>(got));
            });
      });
}

}  // namespace quillet::server
