#include "core/home/site_statistics.h"

namespace quillet {

Text GuestUserLine() { return Gbk("\r\n用户名『游客』未登录"); }

std::array<Text, kStatisticsLines> LoadSiteStatistics(const PageFetch& fetch,
                                                      const Text& accountBaseUrl,
                                                      const Text& communityUrl,
                                                      const AddStatisticsLine& addLine) {
  std::array<Text, kStatisticsLines> lines;
  const auto add = [&](std::size_t position, Text line) {
    lines[position] = std::move(line);
    if (addLine) addLine(position, lines[position]);
  };

  // Each line begins with a line break so its number stands on the item's
  // second line.
  const Text registered = TextBetween(FetchDecodedPage(fetch, accountBaseUrl + "index.php"),
                                      "<h3 class=\"mt-1 mb-2\">", "</h3>");
  add(0, Gbk("\r\n盒子共『") + registered + Gbk("』人注册"));

  const Text members =
      TextBetween(FetchDecodedPage(fetch, communityUrl), Gbk(">会员: <em>"), "</em></li>");
  add(1, Gbk("\r\nCorvane共『") + members + Gbk("』人注册"));

  const Text yesterday =
      TextBetween(FetchDecodedPage(fetch, communityUrl), Gbk(">昨日: <em>"), "</em></li>");
  add(2, Gbk("\r\n昨日共『") + yesterday + Gbk("』帖子数"));

  add(3, GuestUserLine());
  return lines;
}

}  // namespace quillet
