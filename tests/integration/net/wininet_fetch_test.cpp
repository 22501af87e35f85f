#include "core/net/wininet_fetch.h"

#include <gtest/gtest.h>

#include "net_test_peers.h"

namespace quillet {
namespace {

using test::AsBytes;
using test::AsString;
using test::ForwardProxy;
using test::LinesWithoutHost;
using test::Ok;
using test::RawHttpServer;
using test::RecordedRequest;
using test::Reply;
using test::ScriptedReply;

constexpr const char* kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST(WinInetFetch, UrlAloneMakesAPlainGetWithTheDefaultBlockAndTheFixedAgent) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("probe page"); });
  const std::string url = server.Url("/");
  EXPECT_EQ(AsString(WinInetFetch({.url = url})), "probe page");
  const std::vector<std::string> expected = {"Accept: */*", "Referer: " + url,
                                             "Accept-Language: zh-cn", kAgent};
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), expected);
  EXPECT_EQ(server.LastRequest().requestLine, "GET / HTTP/1.1");
  EXPECT_EQ(server.LastRequest().body, "");
}

TEST(WinInetFetch, RequestTargetKeepsQueryAndFragmentAndDefaultsToSlash) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
  const struct {
    std::string url;
    const char* target;
  } cases[] = {
      {"http://" + hostPort, "/"},
      {"HTTP://" + hostPort + "/Mixed/Case?Q=1#Frag", "/Mixed/Case?Q=1#Frag"},
      {hostPort + "/noscheme", "/noscheme"},
      {"http://" + hostPort + "/a b", "/a%20b"},
  };
  for (const auto& c : cases) {
    WinInetFetch({.url = c.url});
    EXPECT_EQ(server.LastRequest().Target(), c.target) << c.url;
  }
}

TEST(WinInetFetch, CallerUserAgentIsTheAgentAndSentOnce) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const Text extra = "user-agent: X";
  WinInetFetch({.url = server.Url("/"), .extraHeaders = &extra});
  const std::vector<std::string> expected = {
      "User-Agent: X", "Accept: */*", "Referer: " + server.Url("/"), "Accept-Language: zh-cn"};
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), expected);
  EXPECT_EQ(extra, "user-agent: X");
}

TEST(WinInetFetch, BodyRulesByMethod) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  {
    Bytes postBytes;
    WinInetFetch({.url = server.Url("/"), .postText = "a=1", .postBytes = &postBytes});
    EXPECT_EQ(server.LastRequest().body, "");
    EXPECT_FALSE(server.LastRequest().Header("Content-Length").has_value());
    EXPECT_TRUE(postBytes.empty());
  }
  {
    Bytes postBytes;
    WinInetFetch(
        {.url = server.Url("/"), .method = 1, .postText = "a=1&b=2", .postBytes = &postBytes});
    EXPECT_EQ(server.LastRequest().body, "a=1&b=2");
    EXPECT_EQ(AsString(postBytes), "a=1&b=2");
    EXPECT_EQ(server.LastRequest().Header("Content-Type"), "application/x-www-form-urlencoded");
  }
  {
    Bytes postBytes = AsBytes("raw");
    WinInetFetch(
        {.url = server.Url("/"), .method = 3, .postText = "text", .postBytes = &postBytes});
    EXPECT_EQ(server.LastRequest().requestLine, "PUT / HTTP/1.1");
    EXPECT_EQ(server.LastRequest().body, "raw");
    EXPECT_FALSE(server.LastRequest().Header("Content-Type").has_value());
  }
}

TEST(WinInetFetch, CookieTextSuppliedEmptyAddsNoLineButTakesPartInTheMerge) {
  RawHttpServer server([](const RecordedRequest&) {
    return Ok("x", {"Set-Cookie: s=1; Path=/", "Set-Cookie: t=2"});
  });
  Text cookies;
  Text returned;
  WinInetFetch({.url = server.Url("/"), .cookieText = &cookies, .returnedCookies = &returned});
  EXPECT_FALSE(server.LastRequest().Header("Cookie").has_value());
  EXPECT_EQ(returned, "s=1; t=2");
  EXPECT_EQ(cookies, "s=1; t=2");

  cookies = "old=1; s=0";
  WinInetFetch({.url = server.Url("/"), .cookieText = &cookies, .returnedCookies = &returned});
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "old=1; s=0");
  EXPECT_EQ(cookies, "s=1; t=2; old=1");

  cookies = "Cookie: raw=1";
  WinInetFetch({.url = server.Url("/"), .cookieText = &cookies, .mergeCookies = false});
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "raw=1");
  EXPECT_EQ(cookies, "Cookie: raw=1");
}

TEST(WinInetFetch, HeaderBlocksLargerThanFiveThousandBytesAreKeptWhole) {
  const std::string filler(6000, 'f');
  RawHttpServer server([&](const RecordedRequest&) {
    return Ok("body", {"X-Filler: " + filler, "Set-Cookie: late=1"});
  });
  Text headers;
  Text returned;
  WinInetFetch({.url = server.Url("/"), .returnedCookies = &returned, .responseHeaders = &headers});
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nX-Filler: " + filler +
                         "\r\nSet-Cookie: late=1\r\nContent-Length: 4\r\n\r\n");
  EXPECT_EQ(returned, "late=1");
}

TEST(WinInetFetch, NoResponseLeavesFiveThousandSpacesAndAnEmptyBody) {
  Text headers;
  Text returned = "stale";
  const Bytes body =
      WinInetFetch({.url = "http://127.0.0.1:" + std::to_string(test::RefusingPort()) + "/",
                    .returnedCookies = &returned,
                    .responseHeaders = &headers});
  EXPECT_TRUE(body.empty());
  EXPECT_EQ(headers, Text(5000, ' '));
  EXPECT_EQ(returned, "");
}

TEST(WinInetFetch, UnusableUrlWritesNothing) {
  Text headers = "untouched";
  Bytes postBytes;
  EXPECT_TRUE(WinInetFetch({.url = "http://127.0.0.1:99999/",
                            .method = 1,
                            .postText = "p",
                            .responseHeaders = &headers,
                            .postBytes = &postBytes})
                  .empty());
  EXPECT_EQ(headers, "untouched");
  EXPECT_TRUE(postBytes.empty());
}

TEST(WinInetFetch, RedirectsHttpsAndTruncatedBodies) {
  RawHttpServer tls(
      [](const RecordedRequest& r) {
        if (r.Target() == "/from") return Reply(301, "Moved", "m", {"Location: /to"});
        if (r.Target() == "/cut") {
          return ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\npartial", 0, true};
        }
        return Ok("secure end");
      },
      RawHttpServer::Transport::kTls);
  ASSERT_TRUE(tls.started());
  EXPECT_EQ(AsString(WinInetFetch({.url = tls.Url("/from")})), "secure end");
  Text headers;
  EXPECT_EQ(AsString(WinInetFetch(
                {.url = tls.Url("/from"), .responseHeaders = &headers, .noRedirects = true})),
            "m");
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 301 Moved\r\n"));
  // A read cut short is not reported: what arrived is the body.
  EXPECT_EQ(AsString(WinInetFetch({.url = tls.Url("/cut")})), "partial");
}

TEST(WinInetFetch, RedirectHopsUseTheirOwnTargetAndAFoundPostBecomesAGet) {
  RawHttpServer server([](const RecordedRequest& r) {
    if (r.Target().starts_with("/from")) return Reply(302, "Found", "", {"Location: /to?x=1"});
    if (r.Target() == "/keep") return Reply(307, "Temporary Redirect", "", {"Location: /kept"});
    return Ok(r.Method() + " " + r.Target() + " " + r.body);
  });
  EXPECT_EQ(AsString(WinInetFetch({.url = server.Url("/from#part")})), "GET /to?x=1 ");
  EXPECT_EQ(server.Requests().front().Target(), "/from#part");
  EXPECT_EQ(AsString(WinInetFetch({.url = server.Url("/from"), .method = 1, .postText = "f=1"})),
            "GET /to?x=1 ");
  EXPECT_EQ(AsString(WinInetFetch({.url = server.Url("/keep"), .method = 1, .postText = "f=1"})),
            "POST /kept f=1");
}

TEST(WinInetFetch, ProxyGetsTheAbsoluteUrl) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  ForwardProxy proxy("u", "p");
  const Bytes body = WinInetFetch({.url = server.Url("/p?q"), .proxy = proxy.Address()});
  ASSERT_FALSE(proxy.Requests().empty());
  EXPECT_EQ(proxy.Requests().back().requestLine, "GET " + server.Url("/p?q") + " HTTP/1.1");
  // Without credentials the proxy refuses and its answer is the body.
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(body.empty());
}

}  // namespace
}  // namespace quillet
