// The bundled account service under hostile and heavy use.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "account_test_support.h"
#include "core/account/request_protocol.h"
#include "core/script/json_object.h"
#include "core/text/text.h"
#include "form_fields.h"
#include "server_options.h"

namespace quillet::test {
namespace {

long CodeOf(const std::string& reply) {
  JsonObject object;
  object.Parse(reply);
  return ParseReplyCode(object.GetText("code"));
}

// A signed body for `action` made of the given field text and stamp.
std::string SignedBody(const std::string& fields, const std::string& stamp) {
  const std::string form = fields + "&t=" + stamp;
  return form + "&sign=" + SignFormText(form, kTestAppKey);
}

std::string NowStamp() {
  const LocalWallClock clock;
  AccountClient client(AccountServices{&clock, nullptr, ""});
  return client.TimeStamp();
}

class AccountServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }

  std::string Post(const std::string& path, const std::string& body) {
    httplib::Client http("127.0.0.1", server_.server().Port());
    auto res = http.Post(path, body, "application/x-www-form-urlencoded");
    return res ? res->body : std::string("no reply");
  }
  std::string Api(const std::string& action, const std::string& body) {
    return Post("//api.php?act=" + action + "&app=" + kTestAppId, body);
  }

  ServerUnderTest server_;
};

TEST_F(AccountServerTest, RefusesBadSignsStampsAndFields) {
  const std::string stamp = NowStamp();
  const std::string fields = "account=123456789&password=x&markcode=m";
  struct Case {
    const char* name;
    std::string action;
    std::string body;
    long code;
  };
  std::string wrongSign = fields + "&t=" + stamp + "&sign=" + std::string(32, '0');
  const Case cases[] = {
      {"good_but_unknown_account", "user_logon", SignedBody(fields, stamp), 201},
      {"wrong_sign", "user_logon", wrongSign, 401},
      {"no_sign", "user_logon", fields + "&t=" + stamp, 401},
      {"empty_body", "user_logon", "", 401},
      {"only_sign", "user_logon", "&sign=", 401},
      {"stale_stamp", "user_logon", SignedBody(fields, "1000000000"), 402},
      {"future_stamp", "user_logon", SignedBody(fields, "4000000000"), 402},
      {"stamp_not_digits", "user_logon", SignedBody(fields, "17969616xx"), 402},
      {"stamp_short", "user_logon", SignedBody(fields, "179696"), 402},
      {"missing_markcode", "user_logon", SignedBody("account=1&password=x", stamp), 400},
      {"fields_out_of_order", "user_logon", SignedBody("password=x&account=1&markcode=m", stamp),
       400},
      {"unknown_action", "drop_table", SignedBody(fields, stamp), 404},
      {"data_without_cipher", "user_logon", "data=00&sign=00", 400},
      {"binary_body", "user_logon", std::string("a\0b=\xff\xfe&sign=", 12), 401},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodeOf(Api(c.action, c.body)), c.code) << c.name;
  }
  EXPECT_EQ(CodeOf(Post("/api.php?act=user_logon&app=10000", SignedBody(fields, stamp))), 201);
  EXPECT_EQ(CodeOf(Post("/api.php?act=user_logon&app=9", SignedBody(fields, stamp))), 404);
  EXPECT_EQ(server_.server().Store().CountAccounts(), 0);
}

TEST_F(AccountServerTest, RepliesEscapeEveryNonAsciiCharacter) {
  const std::string reply =
      Api("user_logon", SignedBody("account=1&password=x&markcode=m", NowStamp()));
  EXPECT_EQ(reply, R"({"code":201,"msg":"\u8d26\u53f7\u6216\u5bc6\u7801\u9519\u8bef"})");
}

TEST_F(AccountServerTest, SqlMetacharactersInEveryField) {
  const Text hostile[] = {
      "'; DROP TABLE accounts; --",
      "\" OR \"1\"=\"1",
      "' OR '1'='1",
      "1); DELETE FROM tokens;",
      "%27%20OR%201=1",
      "\\'\\\"",
      Gbk("名字'); --"),
  };
  AccountClient client = server_.MakeClient();
  Text message;
  ASSERT_EQ(client.RegisterUser("123456789", "secret", "", "", &message), 200);
  ASSERT_EQ(client.LogOn("123456789", "secret", &message), 200);
  JsonObject reply;
  reply.Parse(message);
  const Text token = reply.GetText("token");

  for (const Text& h : hostile) {
    AccountClient hostileClient = server_.MakeClient();
    hostileClient.Configure(server_.BaseUrl(), kTestAppId, kTestAppKey, "", h, 1, 0);
    const long codes[] = {
        hostileClient.RegisterUser(h, h, h, h, &message),
        hostileClient.LogOn(h, h, &message),
        hostileClient.LogOn("123456789", h, &message),
        hostileClient.AlterName(h, h, &message),
        hostileClient.AlterPassword(h, h, h, &message),
        hostileClient.AlterPassword("123456789", h, h, &message),
        hostileClient.GetInfo(h, &message),
        hostileClient.ClockIn(h, &message),
        hostileClient.Motion(h, &message),
        hostileClient.RequestVerificationCode(h, h, &message),
        hostileClient.BindEmail(h, h, h, &message),
        hostileClient.BindEmail(token, h, h, &message),
        hostileClient.UnbindEmail(token, h, h, &message),
        hostileClient.RecoverPassword(h, h, h, &message),
        hostileClient.SetUpAccount(h, h, h, &message),
        hostileClient.SetUpAccount(token, h, h, &message),
    };
    for (long code : codes) {
      EXPECT_NE(code, 200) << h;
      EXPECT_NE(code, 500) << h;
      EXPECT_NE(code, 0) << h;
    }
    // Stored as plain data where a field is free text; a name the replies
    // could not carry back intact (quote, backslash) is refused instead.
    const bool carried = h.find_first_of("\"\\") == Text::npos;
    EXPECT_EQ(hostileClient.AlterName(token, h, &message), carried ? 200 : 400) << h;
    if (carried) {
      EXPECT_EQ(client.GetInfo(token, &message), 200);
      reply.Parse(message);
      EXPECT_EQ(reply.GetText("name"), h);
    }
  }
  EXPECT_EQ(server_.server().Store().CountAccounts(), 1);
  EXPECT_EQ(client.LogOn("123456789", "secret", &message), 200);
  ASSERT_EQ(client.RegisterUser("223456789", hostile[0], "", hostile[2], &message), 200);
  EXPECT_EQ(client.LogOn("223456789", hostile[0], &message), 200);
  EXPECT_EQ(client.LogOn("223456789", hostile[2], &message), 201);
}

TEST_F(AccountServerTest, ThousandConcurrentSignInsLoseNothing) {
  constexpr int kThreads = 8;
  constexpr int kPerThread = 125;
  std::vector<std::vector<std::pair<std::string, std::string>>> sessions(kThreads);
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const AccountClient client = server_.MakeClient();
      for (int k = 0; k < kPerThread; ++k) {
        const std::string account = std::to_string(100000000 + t * 1000 + k);
        const std::string password = "pw" + account;
        Text message;
        if (client.RegisterUser(account, password, "", "", &message) != 200 ||
            client.LogOn(account, password, &message) != 200) {
          ++failures;
          continue;
        }
        JsonObject reply;
        reply.Parse(message);
        if (reply.GetText("account") != account) ++failures;
        sessions[t].emplace_back(account, reply.GetText("token"));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(server_.server().Store().CountAccounts(), kThreads * kPerThread);
  std::set<std::string> tokens;
  for (const auto& list : sessions) {
    for (const auto& [account, token] : list) {
      tokens.insert(token);
      EXPECT_EQ(server_.server().Store().AccountOfToken(token), account);
      const auto record = server_.server().Store().FindAccount(account);
      ASSERT_TRUE(record.has_value());
      EXPECT_EQ(record->name, account);
    }
  }
  EXPECT_EQ(tokens.size(), static_cast<std::size_t>(kThreads * kPerThread));
}

TEST_F(AccountServerTest, EveryResponseCarriesADate) {
  httplib::Client http("127.0.0.1", server_.server().Port());
  auto res = http.Head("/");
  ASSERT_TRUE(res);
  EXPECT_TRUE(res->has_header("Date"));
  EXPECT_EQ(res->get_header_value("Date").size(), 29u);
}

struct FieldsCase {
  const char* body;
  std::vector<std::string> values;  // empty: no reading
};

TEST(FormFields, ValuesRunToTheNextExpectedField) {
  const std::string_view names[] = {"account", "password", "markcode", "t"};
  const FieldsCase cases[] = {
      {"account=1&password=2&markcode=3&t=4", {"1", "2", "3", "4"}},
      {"account=1&password=a&b=c&markcode=3&t=4", {"1", "a&b=c", "3", "4"}},
      {"account=1&password=&t=&markcode=3&t=4", {"1", "&t=", "3", "4"}},
      {"account=&password=&markcode=&t=", {"", "", "", ""}},
      {"account=1&password=2&markcode=3&t=4&x=5", {}},
      {"password=2&account=1&markcode=3&t=4", {}},
      {"account=1&markcode=3&t=4", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    const auto values = server::ReadOrderedFields(c.body, names);
    if (c.values.empty()) {
      EXPECT_FALSE(values.has_value()) << c.body;
    } else {
      ASSERT_TRUE(values.has_value()) << c.body;
      EXPECT_EQ(*values, c.values) << c.body;
    }
  }
}

TEST(FormFields, PlainSplitAtAmpersandThenFirstEquals) {
  const auto fields = server::SplitFormBody("a=1&b=x=y&c&=d&");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"a", "1"}, {"b", "x=y"}, {"c", ""}, {"", "d"}, {"", ""}};
  EXPECT_EQ(fields, expected);
  EXPECT_TRUE(server::SplitFormBody("").empty());
}

struct OptionsCase {
  std::vector<std::string> args;
  bool ok;
};

TEST(ServerOptions, AcceptsGoodAndRejectsBadArguments) {
  const OptionsCase cases[] = {
      {{}, true},
      {{"--port", "0"}, true},
      {{"--port=18081", "--db", "/tmp/x.db", "--bind", "::1"}, true},
      {{"--app-key", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", "--cipher-key", "k"}, true},
      {{"--port"}, false},
      {{"--port", "65536"}, false},
      {{"--port", "-1"}, false},
      {{"--port", "80x"}, false},
      {{"--app-key", "short"}, false},
      {{"--app-key", "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234!"}, false},
      {{"--cipher-key="}, false},
      {{"--bind", "localhost.example"}, false},
      {{"--db", ""}, false},
      {{"--update-dir", "/srv/quillet-update"}, true},
      {{"--update-dir="}, false},
      {{"--verbose"}, false},
      {{"stray"}, false},
  };
  for (const auto& c : cases) {
    const auto parsed = server::ParseServerOptions(c.args);
    EXPECT_EQ(parsed.error.empty(), c.ok) << (c.args.empty() ? "" : c.args[0]) << parsed.error;
  }
  const auto parsed = server::ParseServerOptions({"--port=0", "--cipher-key", "abc"});
  EXPECT_EQ(parsed.config.port, 0);
  EXPECT_EQ(parsed.config.account.cipherKey, "abc");
  EXPECT_EQ(parsed.config.bind, "127.0.0.1");
  EXPECT_TRUE(server::ParseServerOptions({"--help"}).showHelp);
  EXPECT_EQ(server::ParseServerOptions({"--update-dir", "/u"}).config.updateDir, "/u");
}

// The same server process plays the update server when given a folder.
TEST(ServerUpdateSite, ServesTheUpdateFolderOnlyWhenGivenOne) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "update");
  {
    std::ofstream out(folder.path() / "update" / "update.txt", std::ios::binary);
    out << "%E6%9B%B4%E6%96%B0{1.0.0.1}";
  }
  for (const bool withFolder : {true, false}) {
    server::ServerConfig config;
    config.port = 0;
    config.dbPath = (folder.path() / (withFolder ? "a.db" : "b.db")).string();
    if (withFolder) config.updateDir = (folder.path() / "update").string();
    server::QuilletServer running(config);
    std::string error;
    ASSERT_TRUE(running.Start(&error)) << error;
    httplib::Client http("127.0.0.1", running.Port());
    const auto res = http.Get("/QuilletUpdate/update.txt");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, withFolder ? 200 : 404);
    if (withFolder) {
      EXPECT_EQ(res->body, "%E6%9B%B4%E6%96%B0{1.0.0.1}");
    }
    const auto outside = http.Get("/QuilletUpdate/../a.db");
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->status, 404);
  }
}

}  // namespace
}  // namespace quillet::test
