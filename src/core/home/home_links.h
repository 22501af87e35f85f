#pragma once

// The links of the slide show's posts, fetched again at every double-click on
// the post list, and the address that a double-click opens.

#include <array>
#include <functional>
#include <optional>

#include "core/home/page_fetch.h"
#include "core/text/text.h"

namespace quillet {

inline constexpr std::size_t kHomeLinkSlots = 30;

// Slot n - 1 holds the link of slide n, relative to the community site.
using HomeLinkPaths = std::array<Text, kHomeLinkSlots>;

// A message box the user must see: text, caption and the box style (48 is
// the exclamation icon).
using ShowMessageBox = std::function<void(const Text& text, const Text& caption, int style)>;

// Refills `links` from the community home page. With 30 or more links the
// table cannot take them: "数据溢出" is shown, nothing is stored and false is
// returned. Otherwise slots 0 ... k - 1 are overwritten, the slots from k on
// keep what they held, and the result is true (also for a page that could
// not be fetched: then k is -1 and nothing changes).
bool LoadSlideLinks(const PageFetch& fetch, const Text& communityUrl, HomeLinkPaths& links,
                    const ShowMessageBox& showMessage);

// The address to open for post item `item` (0-based): the community address
// followed by that slot. Items past the table (the post list can be longer)
// and negative indexes open nothing.
std::optional<Text> SlideItemAddress(const Text& communityUrl, const HomeLinkPaths& links,
                                     long item);

// What a double-click on post item `item` does: LoadSlideLinks, then the
// address of that item.
std::optional<Text> OpenSlideItem(const PageFetch& fetch, const Text& communityUrl,
                                  HomeLinkPaths& links, long item,
                                  const ShowMessageBox& showMessage);

}  // namespace quillet
