#include "core/net/url_parts.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct PartsCase {
  const char* url;
  bool ok;
  bool secure;
  const char* host;
  long port;
  const char* path;
};

void ExpectParts(const UrlParts& parts, const PartsCase& c) {
  EXPECT_EQ(parts.ok, c.ok) << c.url;
  if (!c.ok) return;
  EXPECT_EQ(parts.secure, c.secure) << c.url;
  EXPECT_EQ(parts.host, c.host) << c.url;
  EXPECT_EQ(parts.port, c.port) << c.url;
  EXPECT_EQ(parts.path, c.path) << c.url;
}

TEST(WinInetUrlParts, FollowsTheRoutinesHostPortAndPathRules) {
  const PartsCase cases[] = {
      {"http://example.com/a", true, false, "example.com", 80, "/a"},
      {"HTTPS://Example.COM/Path?Q=1", true, true, "example.com", 443, "/Path?Q=1"},
      {"http://Host:8080/x", true, false, "host", 8080, "/x"},
      {"http://host", true, false, "host", 80, "/"},
      {"http://host?q=1", true, false, "host?q=1", 80, "/"},
      {"http://host/p?q=1#frag", true, false, "host", 80, "/p?q=1#frag"},
      {"example.com/page", true, false, "example.com", 80, "/page"},
      {"https://host:8443", true, true, "host", 8443, "/"},
      {"http://host:notaport/", false, false, "", 0, ""},
      {"http://host:70000/", false, false, "", 0, ""},
      {"http:///nohost", false, false, "", 0, ""},
      {"", false, false, "", 0, ""},
  };
  for (const PartsCase& c : cases) ExpectParts(WinInetUrlParts(c.url), c);
}

TEST(CrackUrl, SplitsSchemeHostPortAndObjectPath) {
  const PartsCase cases[] = {
      {"http://example.com/a/b?x=1#f", true, false, "example.com", 80, "/a/b?x=1#f"},
      {"HTTPS://host/", true, true, "host", 443, "/"},
      {"http://host:81", true, false, "host", 81, "/"},
      // An empty path requests "/" and leaves the query out.
      {"http://host?x=1", true, false, "host", 80, "/"},
      {"http://host#f", true, false, "host", 80, "/"},
      {"http://user:pw@host:82/p", true, false, "host", 82, "/p"},
      {"ftp://host/", false, false, "", 0, ""},
      {"host/path", false, false, "", 0, ""},
      {"http://:80/", false, false, "", 0, ""},
      {"http://host:0/", false, false, "", 0, ""},
      {"http://host:abc/", false, false, "", 0, ""},
  };
  for (const PartsCase& c : cases) ExpectParts(CrackUrl(c.url), c);
}

}  // namespace
}  // namespace quillet
