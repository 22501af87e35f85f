#pragma once

// The community site and the account server's front page, as the program's
// home page reads them: the community home page carries the slide show
// script (slideImgTexts[n] / slideImgLinks[n], n from 1), the member and
// yesterday's post counts in the forum's statistics markup, and the search
// button whose caption the connectivity probe looks for; index.php of the
// account server shows the registered count. Pages are UTF-8.
//
// The local stand-in has no forum of its own: the featured posts are a fixed
// list, and the member and registered counts come from the accounts table.

#include <cstdint>
#include <string>
#include <vector>

namespace httplib {
class Server;
}

namespace quillet::server {

class AccountStore;

struct FeaturedPost {
  std::string title;  // UTF-8, no single quote
  std::string link;   // relative to the site's address
};

const std::vector<FeaturedPost>& FeaturedPosts();

// The community home page with the given counts; `marker` is the probe's
// search-button caption.
std::string CommunityHomeHtml(const std::string& marker, std::int64_t members,
                              std::int64_t postsYesterday);

// The account server's index.php.
std::string AccountIndexHtml(std::int64_t registered);

// The thread page the program's JDK-download link opens.
std::string JdkThreadHtml();

// GET /index.php on the account server.
void RegisterAccountIndex(httplib::Server& http, AccountStore& store);

// GET /forum.php (the thread pages) on the community host; the home page
// itself is served as the probe site's page (see ProbeSiteConfig::page).
void RegisterCommunityPages(httplib::Server& https);

}  // namespace quillet::server
