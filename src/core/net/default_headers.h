#pragma once

// The default request header lines the web routines add to a caller's
// header text. Servers behind the community site and the account service
// answer differently without them (no Referer, a non-browser agent), so the
// lines and their order are fixed.

#include <string_view>

#include "core/text/text.h"

namespace quillet {

inline constexpr std::string_view kObjectUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Appends, each as CR LF + line and only when "Name:" does not occur in the
// text (ASCII case ignored): Accept, Referer (`url`), Accept-Language,
// User-Agent when `withUserAgent`, and Content-Type for a POST (method 1).
void AppendObjectDefaultHeaders(Text* headers, std::string_view url, int method,
                                bool withUserAgent);

// Appends the browser-like lines of the WinHTTP routine, each ending with
// CR LF, when the looked-for text does not occur (ASCII case ignored).
void AppendWinHttpDefaultHeaders(Text* headers, int method);

}  // namespace quillet
