#pragma once

#include <string>

#include "core/text/text.h"

namespace quillet {

// The peers and keys the program talks to. They are fixed when the program is
// built; start-up makes one value with BuildSettings() and hands it down, and
// tests make their own (a test server's port, say).
struct Settings {
  Text accountBaseUrl;     // plain HTTP, ends with "/"
  Text appId;              // "10000"
  Text appKey;             // 32 letters and digits; signs requests, never sent
  Text probeCheckUrl;      // HTTPS, without trailing slash
  Text probePageUrl;       // the same host followed by "/"
  std::string probeMarker; // UTF-8 bytes the probe page must carry
  Text communityUrl;       // community site home page
  Text updateServerUrl;    // update server; "/QuilletUpdate/update.txt" follows
  Text timeSiteUrl;        // plain-HTTP site whose Date header is the server clock
};

Settings BuildSettings();

}  // namespace quillet
