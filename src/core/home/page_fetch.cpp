#include "core/home/page_fetch.h"

#include "core/text/encodings.h"

namespace quillet {

Text FetchPageText(const PageFetch& fetch, const Text& url) {
  if (!fetch) return {};
  return TextFromBytes(fetch(url));
}

Text FetchDecodedPage(const PageFetch& fetch, const Text& url) {
  return Utf8ToAnsi(FetchPageText(fetch, url));
}

}  // namespace quillet
