#pragma once

// The update server: GET /QuilletUpdate/<name> answers with the file <name>
// of one folder (given with --update-dir): update.txt, the description the
// program reads at start, and the files its list names, fetched by the
// updater. Names are the file list's (segments of letters, digits, ".", "_"
// and "-" joined by "/", never "." or ".."); anything else is 404, so no
// request reaches outside the folder.

#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace quillet::server {

class UpdateSite {
 public:
  explicit UpdateSite(std::string directory);

  // Adds the /QuilletUpdate/ route; without a folder it adds nothing.
  void Register(httplib::Server& server) const;

  // The file a request path names inside the folder; empty when the path is
  // not one the site serves.
  std::string FileFor(std::string_view requestPath) const;

 private:
  std::string directory_;
};

}  // namespace quillet::server
