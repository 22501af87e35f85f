#include "community_site.h"

#include <httplib.h>

#include "account_store.h"

namespace quillet::server {

const std::vector<FeaturedPost>& FeaturedPosts() {
  static const std::vector<FeaturedPost> posts = {
      {"Java 入门：从 Hello World 开始", "forum.php?mod=viewthread&tid=1"},
      {"配置 JAVA_HOME 与 PATH 的常见问题", "forum.php?mod=viewthread&tid=2"},
      {"面向对象：类、对象与继承", "forum.php?mod=viewthread&tid=3"},
      {"JDK 下载与安装指南", "forum.php?mod=viewthread&tid=4"},
  };
  return posts;
}

std::string CommunityHomeHtml(const std::string& marker, std::int64_t members,
                              std::int64_t postsYesterday) {
  std::string page =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Corvane 社区</title>\n"
      "<script type=\"text/javascript\">\n"
      "var slideImgTexts = new Array();\nvar slideImgLinks = new Array();\n";
  int n = 1;
  for (const FeaturedPost& post : FeaturedPosts()) {
    page += "slideImgTexts[" + std::to_string(n) + "] = '" + post.title + "';\n";
    page += "slideImgLinks[" + std::to_string(n) + "] = '" + post.link + "';\n";
    ++n;
  }
  page +=
      "</script></head>\n<body>\n"
      "<form action=\"/search.php\"><input name=\"kw\"><input type=\"submit\" value=\"" +
      marker +
      "\"></form>\n"
      "<ul class=\"stats\">\n"
      "<li class=\"members\">会员: <em>" +
      std::to_string(members) +
      "</em></li>\n"
      "<li class=\"yesterday\">昨日: <em>" +
      std::to_string(postsYesterday) +
      "</em></li>\n"
      "</ul>\n</body></html>\n";
  return page;
}

std::string AccountIndexHtml(std::int64_t registered) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>盒子账户服务</title></head>\n"
         "<body><div class=\"card\"><p>已注册用户</p>\n<h3 class=\"mt-1 mb-2\">" +
         std::to_string(registered) + "</h3></div></body></html>\n";
}

std::string JdkThreadHtml() {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>JDK 下载地址</title></head>\n"
         "<body><h1>JDK 下载与安装指南</h1>\n"
         "<p>Debian / Ubuntu：<code>sudo apt install default-jdk</code></p>\n"
         "<p>安装后在 Quillet 的“环境配置”页选择 JDK 文件夹（例如 /usr/lib/jvm/default-java），"
         "点击“一键配置”。</p>\n<a id=\"lastpost\"></a></body></html>\n";
}

void RegisterAccountIndex(httplib::Server& http, AccountStore& store) {
  http.Get("/index.php", [&store](const httplib::Request&, httplib::Response& res) {
    res.set_content(AccountIndexHtml(store.CountAccounts()), "text/html; charset=utf-8");
  });
}

void RegisterCommunityPages(httplib::Server& https) {
  https.Get("/forum.php", [](const httplib::Request& req, httplib::Response& res) {
    if (req.get_param_value("mod") != "viewthread") {
      res.status = 404;
      return;
    }
    const std::string tid = req.get_param_value("tid");
    for (const FeaturedPost& post : FeaturedPosts()) {
      if (post.link == "forum.php?mod=viewthread&tid=" + tid) {
        res.set_content(tid == "4"
                            ? JdkThreadHtml()
                            : "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" +
                                  post.title + "</title></head><body><h1>" + post.title +
                                  "</h1></body></html>\n",
                        "text/html; charset=utf-8");
        return;
      }
    }
    res.status = 404;
  });
}

}  // namespace quillet::server
