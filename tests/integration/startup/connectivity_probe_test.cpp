#include "core/startup/connectivity_probe.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "core/net/wininet_fetch.h"
#include "http_message.h"
#include "probe_site.h"
#include "raw_http_server.h"

namespace quillet {
namespace {

const std::string kMarker = "搜索一下";

// The program's real steps: a TCP connection check, then a WinINet-style GET.
// `fetches` counts the page requests.
ProbeSteps RealSteps(int* fetches) {
  ProbeSteps steps;
  steps.checkConnection = [](const Text& url) { return CheckConnection(url, 5); };
  steps.fetchPage = [fetches](const Text& url) {
    ++*fetches;
    WinInetFetchArgs args;
    args.url = url;
    return WinInetFetch(args);
  };
  return steps;
}

// A loopback port that was free a moment ago and has nobody listening now.
int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

std::string WithoutTrailingSlash(std::string url) {
  if (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

TEST(ConnectivityProbeTest, ThePageWithItsMarkerOverSelfSignedTlsPasses) {
  server::ProbeSite site({"127.0.0.1", 0, kMarker});
  std::string error;
  ASSERT_TRUE(site.Start(&error)) << error;
  int fetches = 0;
  const ProbeTarget target{WithoutTrailingSlash(site.Url()), site.Url(), kMarker};
  EXPECT_TRUE(ProbeConnectivity(target, RealSteps(&fetches)));
  EXPECT_EQ(fetches, 1);
}

TEST(ConnectivityProbeTest, NoServerFailsWithoutAnyPageRequest) {
  const int port = ClosedPort();
  ASSERT_GT(port, 0);
  const std::string url = "https://127.0.0.1:" + std::to_string(port);
  int fetches = 0;
  EXPECT_FALSE(ProbeConnectivity({url, url + "/", kMarker}, RealSteps(&fetches)));
  EXPECT_EQ(fetches, 0);
}

struct PageCase {
  const char* name;
  std::string response;
};

// Pages that answer but are not the probe site: each must fail the probe.
const PageCase kWrongPages[] = {
    {"hotel portal without marker",
     test::MakeResponse(200, "OK", {"Content-Type: text/html; charset=utf-8"},
                        "<html><body>请登录酒店网络 login</body></html>")},
    {"proxy error page", test::MakeResponse(502, "Bad Gateway", {}, "Bad Gateway")},
    {"empty reply", test::MakeResponse(200, "OK", {}, "")},
    // The marker in GBK: the bytes differ from the UTF-8 ones searched for.
    {"marker in another encoding",
     test::MakeResponse(200, "OK", {}, "<input value=\"\xcb\xd1\xcb\xf7\xd2\xbb\xcf\xc2\">")},
    // Only the first half of the marker's bytes arrive.
    {"truncated marker",
     test::MakeResponse(200, "OK", {}, std::string("<b>") + kMarker.substr(0, 7))},
};

TEST(ConnectivityProbeTest, PagesWithoutTheExactMarkerBytesFail) {
  for (const PageCase& c : kWrongPages) {
    test::RawHttpServer server(
        [&](const test::RecordedRequest&) { return test::ScriptedReply{c.response}; },
        test::RawHttpServer::Transport::kTls);
    ASSERT_TRUE(server.started());
    int fetches = 0;
    const ProbeTarget target{WithoutTrailingSlash(server.Url("/")), server.Url("/"), kMarker};
    EXPECT_FALSE(ProbeConnectivity(target, RealSteps(&fetches))) << c.name;
    EXPECT_EQ(fetches, 1) << c.name;
  }
}

TEST(ConnectivityProbeTest, MarkerAnywhereInAnErrorStatusStillCounts) {
  // The decision is the body's bytes alone, whatever the status line says.
  test::RawHttpServer server(
      [](const test::RecordedRequest&) {
        return test::ScriptedReply{test::MakeResponse(404, "Not Found", {}, "x" + kMarker + "y")};
      },
      test::RawHttpServer::Transport::kTls);
  ASSERT_TRUE(server.started());
  int fetches = 0;
  EXPECT_TRUE(ProbeConnectivity({WithoutTrailingSlash(server.Url("/")), server.Url("/"), kMarker},
                                RealSteps(&fetches)));
}

TEST(BodyContainsMarkerTest, PlainByteSearch) {
  const auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
  EXPECT_TRUE(BodyContainsMarker(bytes(kMarker), kMarker));
  EXPECT_TRUE(BodyContainsMarker(bytes("ab" + kMarker), kMarker));
  EXPECT_FALSE(BodyContainsMarker(bytes(""), kMarker));
  EXPECT_FALSE(BodyContainsMarker(bytes("anything"), ""));
  std::string withZero("a\0b", 3);
  EXPECT_TRUE(BodyContainsMarker(bytes(withZero + kMarker), kMarker));
}

TEST(CheckConnectionTest, UnusableAddressesFail) {
  for (const char* url : {"", "https://", "http://:80", "not a url at all"}) {
    EXPECT_FALSE(CheckConnection(url, 2)) << url;
  }
}

}  // namespace
}  // namespace quillet
