#include "core/home/home_links.h"

#include "core/home/slide_script.h"

namespace quillet {

namespace {
constexpr int kExclamationStyle = 48;
}  // namespace

bool LoadSlideLinks(const PageFetch& fetch, const Text& communityUrl, HomeLinkPaths& links,
                    const ShowMessageBox& showMessage) {
  const Text page = FetchDecodedPage(fetch, communityUrl);
  const long k = SlideCount(page, kSlideLinksArray);
  // The count includes the array's declaration, so the table's last slot is
  // never filled: 29 links fit, a 30th is already an overflow.
  if (k >= static_cast<long>(kHomeLinkSlots)) {
    if (showMessage) showMessage(Gbk("数据溢出"), " ", kExclamationStyle);
    return false;
  }
  std::vector<Text> values = SlideValues(page, kSlideLinksArray, k);
  for (std::size_t i = 0; i < values.size(); ++i) links[i] = std::move(values[i]);
  return true;
}

std::optional<Text> SlideItemAddress(const Text& communityUrl, const HomeLinkPaths& links,
                                     long item) {
  if (item < 0 || item >= static_cast<long>(kHomeLinkSlots)) return std::nullopt;
  return communityUrl + links[static_cast<std::size_t>(item)];
}

std::optional<Text> OpenSlideItem(const PageFetch& fetch, const Text& communityUrl,
                                  HomeLinkPaths& links, long item,
                                  const ShowMessageBox& showMessage) {
  LoadSlideLinks(fetch, communityUrl, links, showMessage);
  return SlideItemAddress(communityUrl, links, item);
}

}  // namespace quillet
