#pragma once

// How the home page gets its web pages. The fetch is a function object so the
// scraping can be run against fixed pages; the program passes WinInetPageFetch.

#include <functional>

#include "core/text/text.h"

namespace quillet {

// A plain GET of `url`; the body bytes, empty when nothing arrived.
using PageFetch = std::function<Bytes(const Text& url)>;

// A GET through WinInetFetch with the address alone (its default headers).
PageFetch WinInetPageFetch();

// The body as text, up to its first zero byte.
Text FetchPageText(const PageFetch& fetch, const Text& url);

// FetchPageText decoded from UTF-8 to code page 936: the sites serve UTF-8
// while every marker the program searches for is code page 936 text.
Text FetchDecodedPage(const PageFetch& fetch, const Text& url);

}  // namespace quillet
