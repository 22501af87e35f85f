#include "core/home/page_fetch.h"
#include "core/net/wininet_fetch.h"

namespace quillet {

PageFetch WinInetPageFetch() {
  return [](const Text& url) { return WinInetFetch({.url = url}); };
}

}  // namespace quillet
