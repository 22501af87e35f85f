#pragma once

// The post list of the home page: the titles of the slide show's posts.

#include <vector>

#include "core/home/page_fetch.h"
#include "core/text/text.h"

namespace quillet {

struct SlideText {
  Text title;  // empty when the page lacks that slide's title
  long value;  // the slide's number n (1-based), kept as the item's value
};

// One entry per slide the community home page announces, in slide order;
// nothing when the page cannot be fetched or has no slide show.
std::vector<SlideText> LoadSlideTexts(const PageFetch& fetch, const Text& communityUrl);

}  // namespace quillet
