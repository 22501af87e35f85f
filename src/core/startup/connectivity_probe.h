#pragma once

// The start-up connectivity probe: the program is only usable on-line, so it
// opens the box-pass window only when a known public page can really be
// fetched, not merely when some network answers (a hotel portal, a proxy
// error page and an empty reply all count as off-line).

#include <functional>
#include <string>

#include "core/text/text.h"

namespace quillet {

struct ProbeSteps {
  // Opens a connection to the check address's host and closes it again; true
  // when it could be opened. Nothing is requested.
  std::function<bool(const Text& checkUrl)> checkConnection;
  // A plain GET of the page address; the raw body, empty when it failed.
  std::function<Bytes(const Text& pageUrl)> fetchPage;
};

struct ProbeTarget {
  Text checkUrl;       // without trailing slash
  Text pageUrl;        // the same host followed by "/"
  std::string marker;  // the bytes the page carries, searched undecoded
};

// True exactly when the connection check succeeds and the page body contains
// the marker. The page is not fetched when the check fails.
bool ProbeConnectivity(const ProbeTarget& target, const ProbeSteps& steps);

// Opens a TCP connection to the URL's host and port (scheme default when the
// URL gives none) and closes it; true when the connection was made within
// `timeoutSeconds`.
bool CheckConnection(const Text& url, long timeoutSeconds = 10);

// A plain byte search, no decoding: true when `marker` occurs in `body`. An
// empty marker is never found, so a misconfigured probe fails closed.
bool BodyContainsMarker(const Bytes& body, const std::string& marker);

}  // namespace quillet
