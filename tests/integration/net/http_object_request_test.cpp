#include "core/net/http_object_request.h"

#include <gtest/gtest.h>

#include <cstring>

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

constexpr const char* kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

TEST(HttpObjectRequest, MethodNumbersPickTheMethodAndOthersFallBackToGet) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const struct {
    int number;
    const char* method;
  } cases[] = {{-1, "GET"},    {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"},
               {4, "OPTIONS"}, {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {8, "GET"}};
  for (const auto& c : cases) {
    int status = 0;
    HttpObjectRequest({.url = server.Url("/m"), .method = c.number, .statusCode = &status});
    EXPECT_EQ(server.LastRequest().requestLine, std::string(c.method) + " /m HTTP/1.1")
        << "method number " << c.number;
    EXPECT_EQ(status, 200) << "method number " << c.number;
  }
}

TEST(HttpObjectRequest, GetSendsExactlyTheFourDefaultHeaders) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("hello"); });
  const std::string url = server.Url("/page?a=1");
  Text headers;
  const Bytes body = HttpObjectRequest({.url = url, .extraHeaders = &headers});
  EXPECT_EQ(AsString(body), "hello");
  const std::vector<std::string> expected = {"Accept: */*", "Referer: " + url,
                                             "Accept-Language: zh-cn", kAgent};
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), expected);
  EXPECT_EQ(server.LastRequest().Header("Host"), "127.0.0.1:" + std::to_string(server.port()));
  // The caller's header variable receives the completed, normalised text.
  EXPECT_EQ(headers, "Accept: */*\r\nReferer: " + url + "\r\nAccept-Language: zh-cn\r\n" + kAgent);
}

TEST(HttpObjectRequest, PostAddsTheFormContentTypeAndSendsThePostText) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("{}"); });
  const std::string url = server.Url("/api.php?act=user_logon&app=10000");
  HttpObjectRequest({.url = url, .method = 1, .postText = "account=1&password=2"});
  const RecordedRequest request = server.LastRequest();
  EXPECT_EQ(request.requestLine, "POST /api.php?act=user_logon&app=10000 HTTP/1.1");
  EXPECT_EQ(request.body, "account=1&password=2");
  const std::vector<std::string> expected = {"Accept: */*",
                                             "Referer: " + url,
                                             "Accept-Language: zh-cn",
                                             kAgent,
                                             "Content-Type: application/x-www-form-urlencoded",
                                             "Content-Length: 20"};
  EXPECT_EQ(LinesWithoutHost(request), expected);
}

TEST(HttpObjectRequest, CallerHeadersDecideWhatIsCompletedAndHowItIsSent) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const std::string url = server.Url("/");
  const struct {
    const char* extra;
    std::vector<std::string> sent;
  } cases[] = {
      {"accept: text/plain",
       {"Accept: text/plain", "Referer: " + url, "Accept-Language: zh-cn", kAgent}},
      {"Connection: keep-alive\r\nx-one: 1",
       {"X-One: 1", "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn", kAgent}},
      {"Connection: close",
       {"Connection: close", "Accept: */*", "Referer: " + url, "Accept-Language: zh-cn", kAgent}},
      {"referer: http://elsewhere/\r\nuser-agent: Q\r\naccept-language: en",
       {"Referer: http://elsewhere/", "User-Agent: Q", "Accept-Language: en", "Accept: */*"}},
  };
  for (const auto& c : cases) {
    Text extra = c.extra;
    HttpObjectRequest({.url = url, .extraHeaders = &extra});
    EXPECT_EQ(LinesWithoutHost(server.LastRequest()), c.sent) << c.extra;
  }
}

TEST(HttpObjectRequest, WithoutCompletionOrNormalisingOnlyTheCallersLinesGoOut) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  Text extra = "x-lower: v\r\nnocolon\r\nX-Two: 2";
  HttpObjectRequest({.url = server.Url("/"),
                     .extraHeaders = &extra,
                     .completeHeaders = false,
                     .normaliseHeaderNames = false});
  const std::vector<std::string> expected = {"x-lower: v", "X-Two: 2"};
  EXPECT_EQ(LinesWithoutHost(server.LastRequest()), expected);
  EXPECT_EQ(extra, "x-lower: v\r\nnocolon\r\nX-Two: 2");
}

TEST(HttpObjectRequest, CookieTextRules) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  {
    // Not supplied: no Cookie header at all.
    HttpObjectRequest({.url = server.Url("/")});
    EXPECT_FALSE(server.LastRequest().Header("Cookie").has_value());
  }
  {
    // Supplied but empty: an empty Cookie header still goes out.
    Text cookies;
    HttpObjectRequest({.url = server.Url("/"), .cookieText = &cookies});
    EXPECT_EQ(server.LastRequest().Header("Cookie"), "");
  }
  {
    // A "Cookie:" prefix is cut away, leaving its space in the value.
    Text cookies = "Cookie: a=1";
    HttpObjectRequest({.url = server.Url("/"), .cookieText = &cookies, .mergeCookies = false});
    const std::vector<std::string> lines = server.LastRequest().HeaderLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Cookie:  a=1"), lines.end());
    EXPECT_EQ(cookies, " a=1");
  }
}

TEST(HttpObjectRequest, SetCookieLinesAreCollectedAndMerged) {
  RawHttpServer server([](const RecordedRequest& r) {
    if (r.Target() == "/two") return Ok("x", {"Set-Cookie: a=1; Path=/", "Set-Cookie: b=2"});
    return Ok("x", {"Set-Cookie: b=3; HttpOnly"});
  });
  Text returned = "stale";
  HttpObjectRequest({.url = server.Url("/two"), .returnedCookies = &returned});
  EXPECT_EQ(returned, "a=1; b=2");

  Text cookies = "a=1; b=2";
  HttpObjectRequest(
      {.url = server.Url("/one"), .cookieText = &cookies, .returnedCookies = &returned});
  EXPECT_EQ(server.LastRequest().Header("Cookie"), "a=1; b=2");
  EXPECT_EQ(returned, "b=3; a=1");
  EXPECT_EQ(cookies, "b=3; a=1");

  cookies = "a=1";
  HttpObjectRequest({.url = server.Url("/one"),
                     .cookieText = &cookies,
                     .returnedCookies = &returned,
                     .mergeCookies = false});
  EXPECT_EQ(returned, "b=3");
  EXPECT_EQ(cookies, "a=1");
}

TEST(HttpObjectRequest, ResponseHeadersStatusAndBodyComeBackAsSent) {
  RawHttpServer server([](const RecordedRequest&) {
    return ScriptedReply{
        "HTTP/1.1 201 Created\r\nDate: Fri, 11 Dec 2026 10:00:00 GMT\r\n"
        "x-odd:  spaced \r\nContent-Length: 2\r\n\r\nok"};
  });
  Text headers;
  int status = 0;
  const Bytes body = HttpObjectRequest(
      {.url = server.Url("/"), .responseHeaders = &headers, .statusCode = &status});
  EXPECT_EQ(AsString(body), "ok");
  EXPECT_EQ(status, 201);
  EXPECT_EQ(headers,
            "Date: Fri, 11 Dec 2026 10:00:00 GMT\r\nx-odd:  spaced \r\nContent-Length: 2\r\n\r\n");
}

TEST(HttpObjectRequest, HeadRequestGivesTheDateLineAndNoBody) {
  RawHttpServer server([](const RecordedRequest&) {
    return ScriptedReply{
        "HTTP/1.1 200 OK\r\nDate: Fri, 11 Dec 2026 10:00:00 GMT\r\n"
        "Content-Length: 5\r\n\r\n"};
  });
  Text headers;
  const Bytes body =
      HttpObjectRequest({.url = server.Url("/"), .method = 2, .responseHeaders = &headers});
  EXPECT_TRUE(body.empty());
  EXPECT_NE(headers.find("Date: Fri, 11 Dec 2026 10:00:00 GMT\r\n"), Text::npos);
  EXPECT_EQ(server.LastRequest().requestLine, "HEAD / HTTP/1.1");
}

TEST(HttpObjectRequest, PostBytesAreSentInsteadOfThePostTextByteForByte) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const std::string binary("\x00\x01\xFF\r\n\x00z", 7);
  HttpObjectRequest(
      {.url = server.Url("/"), .method = 3, .postText = "ignored", .postBytes = AsBytes(binary)});
  EXPECT_EQ(server.LastRequest().body, binary);
  EXPECT_EQ(server.LastRequest().Header("Content-Length"), "7");
  // libcurl's own Content-Type for posted fields must not appear.
  EXPECT_FALSE(server.LastRequest().Header("Content-Type").has_value());
  EXPECT_FALSE(server.LastRequest().Header("Expect").has_value());
}

TEST(HttpObjectRequest, LargePostsGoOutWithoutWaitingForAContinue) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("x"); });
  const std::string big(2u << 20, 'b');
  HttpObjectRequest({.url = server.Url("/"), .method = 1, .postText = big});
  EXPECT_FALSE(server.LastRequest().Header("Expect").has_value());
  EXPECT_EQ(server.LastRequest().body.size(), big.size());
}

TEST(HttpObjectRequest, BodiesKeepZeroBytesAndHugeSizes) {
  std::string huge(50u << 20, '\0');
  for (std::size_t i = 0; i < huge.size(); i += 4093) huge[i] = static_cast<char>(i & 0xFF);
  const std::string zero("ab\0cd", 5);
  RawHttpServer server(
      [&](const RecordedRequest& r) { return Ok(r.Target() == "/huge" ? huge : zero); });
  EXPECT_EQ(AsString(HttpObjectRequest({.url = server.Url("/zero")})), zero);
  const Bytes body = HttpObjectRequest({.url = server.Url("/huge")});
  ASSERT_EQ(body.size(), huge.size());
  EXPECT_EQ(std::memcmp(body.data(), huge.data(), huge.size()), 0);
}

TEST(HttpObjectRequest, RedirectsAreFollowedUnlessSwitchedOff) {
  RawHttpServer server([](const RecordedRequest& r) {
    if (r.Target() == "/from") return Reply(302, "Found", "moved", {"Location: /to"});
    return Ok("arrived");
  });
  int status = 0;
  EXPECT_EQ(AsString(HttpObjectRequest({.url = server.Url("/from"), .statusCode = &status})),
            "arrived");
  EXPECT_EQ(status, 200);
  EXPECT_EQ(server.LastRequest().requestLine, "GET /to HTTP/1.1");

  EXPECT_EQ(AsString(HttpObjectRequest(
                {.url = server.Url("/from"), .statusCode = &status, .noRedirects = true})),
            "moved");
  EXPECT_EQ(status, 302);
}

TEST(HttpObjectRequest, ASuppliedRequestObjectKeepsItsSettingsBetweenCalls) {
  RawHttpServer server([](const RecordedRequest& r) {
    if (r.Target() == "/from") return Reply(302, "Found", "moved", {"Location: /to"});
    return Ok("arrived");
  });
  HttpRequestObject object;
  HttpObjectRequest({.url = server.Url("/from"), .noRedirects = true, .requestObject = &object});
  int status = 0;
  const Bytes body = HttpObjectRequest(
      {.url = server.Url("/from"), .statusCode = &status, .requestObject = &object});
  EXPECT_EQ(status, 302);
  EXPECT_EQ(AsString(body), "moved");
}

TEST(HttpObjectRequest, FailuresLeaveEmptyResultsAndStatusZero) {
  RawHttpServer slow([](const RecordedRequest&) {
    ScriptedReply reply = Ok("late");
    reply.delayMs = 5000;
    return reply;
  });
  RawHttpServer cut([](const RecordedRequest&) {
    return ScriptedReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly this", 0, true};
  });
  const std::string urls[] = {
      "http://127.0.0.1:" + std::to_string(test::RefusingPort()) + "/",
      slow.Url("/"),
      cut.Url("/"),
      "not a url",
  };
  for (const std::string& url : urls) {
    Text headers = "stale";
    int status = -5;
    const Bytes body = HttpObjectRequest(
        {.url = url, .responseHeaders = &headers, .statusCode = &status, .timeout = 1});
    EXPECT_TRUE(body.empty()) << url;
    EXPECT_EQ(headers, "") << url;
    EXPECT_EQ(status, 0) << url;
  }
}

TEST(HttpObjectRequest, HttpsWithASelfSignedCertificateIsAccepted) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("secure"); },
                       RawHttpServer::Transport::kTls);
  ASSERT_TRUE(server.started());
  int status = 0;
  EXPECT_EQ(AsString(HttpObjectRequest({.url = server.Url("/s"), .statusCode = &status})),
            "secure");
  EXPECT_EQ(status, 200);
}

TEST(HttpObjectRequest, ProxyCredentialsGoOutAsBasicProxyAuthorization) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("via proxy"); });
  ForwardProxy proxy("user", "p:w");
  int status = 0;
  const Bytes body = HttpObjectRequest({.url = server.Url("/x"),
                                        .statusCode = &status,
                                        .proxy = proxy.Address(),
                                        .proxyUserName = "user",
                                        .proxyPassword = "p:w"});
  EXPECT_EQ(AsString(body), "via proxy");
  EXPECT_EQ(status, 200);
  ASSERT_FALSE(proxy.Requests().empty());
  const RecordedRequest atProxy = proxy.Requests().back();
  EXPECT_EQ(atProxy.requestLine, "GET " + server.Url("/x") + " HTTP/1.1");
  EXPECT_EQ(atProxy.Header("Proxy-Authorization"), "Basic " + Base64Encode("user:p:w"));
  EXPECT_FALSE(atProxy.Header("Proxy-Connection").has_value());
  EXPECT_FALSE(server.LastRequest().Header("Proxy-Authorization").has_value());

  // Flag 0 hands the credentials to the server side only: the proxy sees
  // no Proxy-Authorization and refuses.
  HttpObjectRequest({.url = server.Url("/x"),
                     .statusCode = &status,
                     .proxy = proxy.Address(),
                     .proxyUserName = "user",
                     .proxyPassword = "p:w",
                     .credentialFlag = 0});
  EXPECT_EQ(status, 407);
  EXPECT_FALSE(proxy.Requests().back().Header("Proxy-Authorization").has_value());
}

TEST(HttpObjectRequest, HttpsThroughTheProxyTunnelsWithCredentials) {
  RawHttpServer server([](const RecordedRequest&) { return Ok("tunnelled"); },
                       RawHttpServer::Transport::kTls);
  ForwardProxy proxy("u", "pw");
  const Bytes body = HttpObjectRequest({.url = server.Url("/t"),
                                        .proxy = proxy.Address(),
                                        .proxyUserName = "u",
                                        .proxyPassword = "pw"});
  EXPECT_EQ(AsString(body), "tunnelled");
  ASSERT_FALSE(proxy.Requests().empty());
  EXPECT_EQ(proxy.Requests().back().requestLine,
            "CONNECT 127.0.0.1:" + std::to_string(server.port()) + " HTTP/1.1");
  EXPECT_EQ(proxy.Requests().back().Header("Proxy-Authorization"), "Basic " + Base64Encode("u:pw"));
  EXPECT_FALSE(proxy.Requests().back().Header("Proxy-Connection").has_value());
  // The origin server never sees the proxy's credentials.
  EXPECT_FALSE(server.LastRequest().Header("Proxy-Authorization").has_value());
}

}  // namespace
}  // namespace quillet
