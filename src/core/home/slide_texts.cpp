#include "core/home/slide_texts.h"

#include "core/home/slide_script.h"

namespace quillet {

std::vector<SlideText> LoadSlideTexts(const PageFetch& fetch, const Text& communityUrl) {
  const Text page = FetchDecodedPage(fetch, communityUrl);
  std::vector<Text> titles =
      SlideValues(page, kSlideTextsArray, SlideCount(page, kSlideTextsArray));
  std::vector<SlideText> items;
  items.reserve(titles.size());
  for (std::size_t i = 0; i < titles.size(); ++i) {
    items.push_back({std::move(titles[i]), static_cast<long>(i + 1)});
  }
  return items;
}

}  // namespace quillet
