#include "core/net/default_headers.h"

namespace quillet {

namespace {

void AppendUnlessPresent(Text* headers, std::string_view lookFor, std::string_view line) {
  if (TextContains(*headers, lookFor, true)) return;
  *headers += "\r\n";
  *headers += line;
}

}  // namespace

void AppendObjectDefaultHeaders(Text* headers, std::string_view url, int method,
                                bool withUserAgent) {
  AppendUnlessPresent(headers, "Accept:", "Accept: */*");
  AppendUnlessPresent(headers, "Referer:", Text("Referer: ") + Text(url));
  AppendUnlessPresent(headers, "Accept-Language:", "Accept-Language: zh-cn");
  if (withUserAgent) {
    AppendUnlessPresent(headers, "User-Agent:", Text("User-Agent: ") + Text(kObjectUserAgent));
  }
  if (method == 1) {
    AppendUnlessPresent(headers,
                        "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
  }
}

void AppendWinHttpDefaultHeaders(Text* headers, int method) {
  struct Line {
    std::string_view lookFor;
    std::string_view line;
    bool postOnly;
  };
  static constexpr Line kLines[] = {
      {"User-Agent: ",
       "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)", false},
      {"Accept: ", "Accept: text/html, application/xhtml+xml, */*", false},
      {"Accept-Encoding: ", "Accept-Encoding: gbk, GB2312", false},
      {"Accept-Language: ", "Accept-Language: zh-cn", false},
      {"Content-Type:", "Content-Type: application/x-www-form-urlencoded", true},
      {"Cache-Control: ", "Cache-Control: no-cache", false},
  };
  for (const Line& l : kLines) {
    if (l.postOnly && method != 1) continue;
    if (TextContains(*headers, l.lookFor, true)) continue;
    *headers += l.line;
    *headers += "\r\n";
  }
}

}  // namespace quillet
