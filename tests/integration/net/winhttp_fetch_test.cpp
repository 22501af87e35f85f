#include "core/net/winhttp_fetch.h"

#include <gtest/gtest.h>

#include "core/platform/event_pump.h"
#include "core/text/digest.h"
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

const std::vector<std::string> kGetDefaults = {
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
    "Accept: text/html, application/xhtml+xml, */*",
    "Accept-Encoding: gbk, GB2312",
    "Accept-Language: zh-cn",
    "Cache-Control: no-cache",
};

class CountingPump final : public EventPump {
 public:
  void PumpPending() override { ++pumps; }
  void WaitPumping(int) override { ++pumps; }
  int pumps = 0;
};

TEST(WinHttpFetch, UrlAloneSendsTheBrowserLinesAndGivesStatusAndPage) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("version=2"); });
  Text status;
  Text headers;
  const Text page = WinHttpFetch({.url = server.Url("/QuilletUpdate/update.txt"),
                                  .responseHeaders = &headers,
                                  .statusOrError = &status});
  EXPECT_EQ(page, "version=2");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n");
  EXPECT_EQ(server.LastRequest().requestLine, "GET /QuilletUpdate/update.txt HTTP/1.1");
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), kGetDefaults);
}

TEST(WinHttpFetch, PostAddsContentTypeAndEveryMethodCarriesTheBody) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  WinHttpFetch({.url = server.Url("/"), .method = 1, .postText = "k=v"});
  std::vector<std::string> expected = kGetDefaults;
  expected.insert(expected.begin() + 4, "Content-Type: application/x-www-form-urlencoded");
  expected.push_back("Content-Length: 3");
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), expected);

  const struct {
    int method;
    const char* requestLine;
  } cases[] = {{0, "GET / HTTP/1.1"}, {9, "GET / HTTP/1.1"}, {5, "DELETE / HTTP/1.1"}};
  for (const auto& c : cases) {
    WinHttpFetch({.url = server.Url("/"), .method = c.method, .postBytes = AsBytes("b\0y")});
    EXPECT_EQ(server.LastRequest().requestLine, c.requestLine);
    EXPECT_EQ(server.LastRequest().body, "b") << "the literal stops at its zero";
  }
  WinHttpFetch({.url = server.Url("/"), .postText = "in a get"});
  EXPECT_EQ(server.LastRequest().body, "in a get");
}

TEST(WinHttpFetch, ObjectPathRules) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
  const struct {
    std::string url;
    const char* target;
  } cases[] = {
      {origin + "?q=1", "/"},
      {origin, "/"},
      {origin + "/p?q=1#frag", "/p?q=1#frag"},
      {"HTTP://127.0.0.1:" + std::to_string(server.port()) + "/x", "/x"},
  };
  for (const auto& c : cases) {
    Text status;
    WinHttpFetch({.url = c.url, .statusOrError = &status});
    EXPECT_EQ(status, "200 OK") << c.url;
    EXPECT_EQ(server.LastRequest().Target(), c.target) << c.url;
  }
}

TEST(WinHttpFetch, HeaderCopyRules) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const struct {
    const char* extra;
    const char* cookies;
    bool complete;
    std::vector<std::string> sent;
  } cases[] = {
      {"Connection: keep-alive\r\nX-A: 1", "", false, {"X-A: 1"}},
      {"Connection: close\r\nX-A: 1", "", false, {"Connection: close", "X-A: 1"}},
      {"x-a: 1", "c=1", false, {"X-A: 1", "Cookie: c=1"}},
      {"", "Cookie: c=2", false, {"Cookie: c=2"}},
      {"cookie: mine", "c=1", false, {"Cookie: mine"}},
      {"accept: a/b\r\nuser-agent: me",
       "",
       true,
       {"Accept: a/b", "User-Agent: me", "Accept-Encoding: gbk, GB2312", "Accept-Language: zh-cn",
        "Cache-Control: no-cache"}},
  };
  for (const auto& c : cases) {
    const Text extra = c.extra;
    Text cookies = c.cookies;
    WinHttpFetch({.url = server.Url("/"),
                  .cookieText = &cookies,
                  .extraHeaders = &extra,
                  .mergeCookies = false,
                  .completeHeaders = c.complete});
    EXPECT_EQ(LinesWithoutHost(server.LastRequest()), c.sent) << c.extra;
    EXPECT_EQ(extra, c.extra);
  }
}

TEST(WinHttpFetch, RejectedHeaderLinesGiveError710AndSendNothing) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const Text extra = "not a header line";
  Text status = "before";
  const Text page = WinHttpFetch({.url = server.Url("/"),
                                  .extraHeaders = &extra,
                                  .statusOrError = &status,
                                  .normaliseHeaderNames = false});
  EXPECT_EQ(page, "");
  EXPECT_EQ(status, Gbk("710 设置协议头失败!"));
  EXPECT_TRUE(server.Requests().empty());
}

TEST(WinHttpFetch, LocationCookiesAndMerge) {
  RawHttpServer server([](const RecordedRequest& r) {
    if (r.Target() == "/from") {
      return Reply(302, "Found", "go", {"location: /to", "Set-Cookie: a=1; Path=/"});
    }
    return Ok("x");
  });
  Text location;
  Text status;
  Text returned;
  Text cookies = "  z=9; a=0; gone=deleted ";
  const Text page = WinHttpFetch({.url = server.Url("/from"),
                                  .cookieText = &cookies,
                                  .returnedCookies = &returned,
                                  .noRedirects = true,
                                  .redirectLocation = &location,
                                  .statusOrError = &status});
  EXPECT_EQ(page, "go");
  EXPECT_EQ(status, "302 Found");
  EXPECT_EQ(location, "/to");
  EXPECT_EQ(returned, "a=1; z=9");
  EXPECT_EQ(cookies, "a=1; z=9");

  // No cookies set by the server: a non-empty cookie text is still merged.
  cookies = " k=1; old=deleted ";
  WinHttpFetch({.url = server.Url("/to"), .cookieText = &cookies, .returnedCookies = &returned});
  EXPECT_EQ(cookies, "k=1");
  EXPECT_EQ(returned, "k=1");
}

TEST(WinHttpFetch, PageTextFollowsTheMetaCharset) {
  const std::string utf8Page =
      "<html><head><meta charset=\"utf-8\"></head>\xE4\xB8\xAD\xE6\x96\x87";
  const std::string gbkPage =
      "<meta http-equiv=Content-Type content=\"text/html; charset=gbk\">" + Gbk("中文");
  const std::string capitals = "<META CHARSET=GB2312>" + Gbk("中文");
  const std::string invalid = "<meta charset=utf-8>\xFF\xFE\xE4\xB8";
  const std::string zero = std::string("before\0after", 12);
  const std::string late = std::string(1100, ' ') + "<meta charset=utf-8>\xE4\xB8\xAD";
  RawHttpServer server([&](const RecordedRequest& r) {
    const std::string t = r.Target();
    if (t == "/utf8") return Ok(utf8Page);
    if (t == "/gbk") return Ok(gbkPage);
    if (t == "/caps") return Ok(capitals);
    if (t == "/invalid") return Ok(invalid);
    if (t == "/late") return Ok(late);
    return Ok(zero);
  });
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/utf8")}),
            "<html><head><meta charset=\"utf-8\"></head>" + Gbk("中文"));
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/gbk")}), gbkPage);
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/caps")}), capitals);
  // Bytes that are not UTF-8 become replacement characters, never a crash.
  const Text decoded = WinHttpFetch({.url = server.Url("/invalid")});
  EXPECT_TRUE(decoded.starts_with("<meta charset=utf-8>")) << decoded;
  EXPECT_NE(decoded.find('?'), Text::npos) << decoded;
  // A meta tag beyond the first 1024 bytes is not looked at.
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/late")}), late);
  // The page text ends at the first zero byte; the body bytes keep it all.
  Bytes body;
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/zero"), .bodyBytes = &body}), "before");
  EXPECT_EQ(AsString(body), zero);
}

TEST(WinHttpFetch, EncodedBodiesComeBackUndecoded) {
  // The routine asks for "gbk, GB2312" encodings; whatever the server
  // answers is handed over as the raw bytes, never unpacked.
  const std::string packed("\x1f\x8b\x08\x00packed", 10);
  RawHttpServer server(
      [&](const RecordedRequest&) { return Ok(packed, {"Content-Encoding: gzip"}); });
  Bytes body;
  WinHttpFetch({.url = server.Url("/"), .bodyBytes = &body});
  EXPECT_EQ(AsString(body), packed);
}

TEST(WinHttpFetch, FailuresGiveTheirNumberedTexts) {
  RawHttpServer slow([](const RecordedRequest&) {
    ScriptedReply reply = Ok("late");
    reply.delayMs = 5000;
    return reply;
  });
  RawHttpServer silent([](const RecordedRequest&) { return ScriptedReply{"", 0, true}; });
  const struct {
    std::string url;
    const char* error;
  } cases[] = {
      {"ftp://127.0.0.1/", "701 解析URL地址失败!"},
      {"no scheme", "701 解析URL地址失败!"},
      {"http://127.0.0.1:" + std::to_string(test::RefusingPort()) + "/",
       "703 创建WinHttp连接失败!"},
      {slow.Url("/"), "712 服务器未响应!"},
      {silent.Url("/"), "712 服务器未响应!"},
  };
  for (const auto& c : cases) {
    Text status = "before";
    Text headers = "untouched";
    const Text page = WinHttpFetch(
        {.url = c.url, .responseHeaders = &headers, .timeout = 1, .statusOrError = &status});
    EXPECT_EQ(page, "") << c.url;
    EXPECT_EQ(status, Gbk(c.error)) << c.url;
    EXPECT_EQ(headers, "untouched") << c.url;
  }
}

TEST(WinHttpFetch, ABodyCutShortKeepsWhatArrived) {
  RawHttpServer cut([](const RecordedRequest&) {
    return ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this", 0, true};
  });
  Text status;
  Bytes body;
  EXPECT_EQ(WinHttpFetch({.url = cut.Url("/"), .statusOrError = &status, .bodyBytes = &body}),
            "only this");
  // The status text of the response replaces the read error.
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(AsString(body), "only this");
}

TEST(WinHttpFetch, EventsArePumpedWhileWaiting) {
  RawHttpServer server([](const RecordedRequest&) {
    ScriptedReply reply = Ok("x");
    reply.delayMs = 1500;
    return reply;
  });
  CountingPump pump;
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/"), .pump = &pump}), "x");
  EXPECT_GE(pump.pumps, 2);
}

TEST(WinHttpFetch, CredentialsAndProxy) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("ok"); });
  WinHttpFetch({.url = server.Url("/"), .userName = "name", .password = "secret"});
  EXPECT_EQ(server.LastRequest().Header("Authorization"), "Basic " + Base64Encode("name:secret"));
  // Only a complete pair is used.
  WinHttpFetch({.url = server.Url("/"), .userName = "name"});
  EXPECT_FALSE(server.LastRequest().Header("Authorization").has_value());

  ForwardProxy proxy("pu", "pp");
  Text status;
  EXPECT_EQ(WinHttpFetch({.url = server.Url("/via"),
                          .proxy = proxy.Address(),
                          .proxyUserName = "pu",
                          .proxyPassword = "pp",
                          .statusOrError = &status}),
            "ok");
  EXPECT_EQ(status, "200 OK");
  EXPECT_EQ(proxy.Requests().back().Header("Proxy-Authorization"),
            "Basic " + Base64Encode("pu:pp"));

  RawHttpServer tls([](const RecordedRequest&) { return Ok("secure"); },
                    RawHttpServer::Transport::kTls);
  EXPECT_EQ(WinHttpFetch({.url = tls.Url("/"),
                          .proxy = proxy.Address(),
                          .proxyUserName = "pu",
                          .proxyPassword = "pp"}),
            "secure");
  EXPECT_TRUE(proxy.Requests().back().requestLine.starts_with("CONNECT "));
}

TEST(WinHttpFetch, HttpsSelfSignedAndRedirectsFollowed) {
  RawHttpServer tls(
      [](const RecordedRequest& r) {
        if (r.Target() == "/from") return Reply(307, "Temporary Redirect", "", {"Location: /to"});
        return Ok("secure " + r.Method() + " " + r.body);
      },
      RawHttpServer::Transport::kTls);
  Text status;
  EXPECT_EQ(
      WinHttpFetch(
          {.url = tls.Url("/from"), .method = 1, .postText = "p=1", .statusOrError = &status}),
      "secure POST p=1");
  EXPECT_EQ(status, "200 OK");
}

}  // namespace
}  // namespace quillet
