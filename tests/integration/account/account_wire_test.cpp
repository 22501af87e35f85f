// The client's exact request bytes and its reading of odd replies, against a
// scripted HTTP peer on loopback.

#include <gtest/gtest.h>
#include <httplib.h>

#include <mutex>
#include <thread>

#include "account_test_support.h"
#include "core/account/rc4_cipher.h"
#include "core/text/text.h"

namespace quillet::test {
namespace {

struct Captured {
  std::string method;
  std::string target;
  std::string contentType;
  std::string referer;
  std::string body;
};

// Records every request and answers with the bytes it is given.
class ScriptedPeer {
 public:
  ScriptedPeer() {
    server_.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      captured_.push_back({req.method, req.target, req.get_header_value("Content-Type"),
                           req.get_header_value("Referer"), req.body});
      res.set_content(reply_, "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~ScriptedPeer() {
    server_.stop();
    thread_.join();
  }
  void Reply(std::string bytes) {
    std::lock_guard lock(mutex_);
    reply_ = std::move(bytes);
  }
  Captured Last() {
    std::lock_guard lock(mutex_);
    return captured_.empty() ? Captured{} : captured_.back();
  }
  std::string BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

 private:
  httplib::Server server_;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<Captured> captured_;
  std::string reply_;
  int port_ = 0;
};

class AccountWireTest : public ::testing::Test {
 protected:
  AccountClient MakeClient(const Text& cipherKey = {}) {
    AccountClient client(AccountServices{&clock_, &identity_, ""});
    client.Configure(peer_.BaseUrl(), kTestAppId, kTestAppKey, cipherKey, kTestMachineCode, 1, 0);
    return client;
  }

  ScriptedPeer peer_;
  // 2026-12-11 12:00:00.123 on the wall clock: t=1796961600.
  FixedClock clock_{{2026, 12, 11, 12, 0, 0, 123}};
  FixedIdentity identity_;
};

// The expected signs are MD5 values computed with an independent tool.
TEST_F(AccountWireTest, SignInBodyIsSignedOverTheUnescapedText) {
  peer_.Reply(R"({"code":200,"msg":{"token":"t","name":"n"}})");
  const AccountClient client = MakeClient();
  Text message;
  EXPECT_EQ(client.LogOn("123456789", "p&w=d", &message), 200);
  const Captured request = peer_.Last();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.target, "//api.php?act=user_logon&app=10000");
  EXPECT_EQ(request.body,
            "account=123456789&password=p&w=d&markcode=MACHINE0CODE0016&t=1796961600"
            "&sign=83cfa773a9fddbb635726809c59c1150");
  EXPECT_EQ(request.contentType, "application/x-www-form-urlencoded");
  EXPECT_EQ(request.referer, peer_.BaseUrl() + "/api.php?act=user_logon&app=10000");
  EXPECT_EQ(message, R"({"token":"t","name":"n"})");
}

TEST_F(AccountWireTest, RegisterSendsTheNicknameFirstInCodePage936) {
  peer_.Reply(R"({"code":200,"msg":"ok"})");
  MakeClient().RegisterUser("987654321", "pw", "", Gbk("小明"));
  EXPECT_EQ(peer_.Last().target, "//api.php?act=user_reg&app=10000");
  EXPECT_EQ(peer_.Last().body, Gbk("name=小明") +
                                   "&user=987654321&password=pw&inv=&markcode=MACHINE0CODE0016"
                                   "&t=1796961600&sign=966e4c4e37c0010ff6c898f95a318adf");
}

TEST_F(AccountWireTest, OperationsWithoutMarkCodeEndWithTheStamp) {
  peer_.Reply("{}");
  MakeClient().Motion("tok");
  EXPECT_EQ(peer_.Last().body.substr(0, 22), "token=tok&t=1796961600");
  MakeClient().SetUpAccount("tok", "u");
  EXPECT_EQ(peer_.Last().body.substr(0, 41), "token=tok&user=u&password=&t=1796961600&s");
}

TEST_F(AccountWireTest, CipheredBodyAndMessage) {
  const Text key = "QuilletCipherKey";
  const Text plainMessage = Gbk("账户或密码错误");
  // The peer writes the message's hex in lower case with spaces.
  Text hex = EncipherText(plainMessage, key);
  Text spaced;
  for (std::size_t k = 0; k < hex.size(); ++k) {
    spaced += static_cast<char>(std::tolower(static_cast<unsigned char>(hex[k])));
    if (k % 4 == 3) spaced += ' ';
  }
  peer_.Reply(R"({"code":201,"msg":")" + spaced + R"("})");
  Text message;
  EXPECT_EQ(MakeClient(key).LogOn("123456789", "pw", &message), 201);
  EXPECT_EQ(message, plainMessage);

  const std::string body = peer_.Last().body;
  const std::string form = "account=123456789&password=pw&markcode=MACHINE0CODE0016&t=1796961600";
  ASSERT_EQ(body.rfind("data=", 0), 0u);
  const auto signAt = body.find("&sign=");
  ASSERT_NE(signAt, std::string::npos);
  const std::string sign = body.substr(signAt + 6);
  EXPECT_EQ(sign.size(), 32u);
  EXPECT_EQ(DecipherText(body.substr(5, signAt - 5), key), form + "&sign=" + sign);
}

struct ReplyCase {
  const char* name;
  std::string reply;
  long code;
  Text message;  // of RegisterUser (text message)
};

TEST_F(AccountWireTest, OddReplies) {
  const std::string big(4 << 20, 'a');
  const ReplyCase cases[] = {
      {"u_escapes", R"({"code":200,"msg":"\u6ce8\u518c\u6210\u529f"})", 200, Gbk("注册成功")},
      {"single_quote", R"({"code":201,"msg":"it's taken"})", 201, "it's taken"},
      {"code_as_text", R"({"code":"203","msg":""})", 203, ""},
      {"crlf_in_reply", "{\"code\":200,\r\n\"msg\":\"a\"}", 200, "a"},
      {"empty_body", "", 0, ""},
      {"not_json", "<html><body>502 Bad Gateway</body></html>", 0, ""},
      {"truncated", R"({"code":200,"msg":"abc)", 0, ""},
      {"no_code", R"({"msg":"x"})", 0, "x"},
      {"huge", R"({"code":200,"msg":")" + big + R"("})", 200, big},
      {"huge_garbage", std::string(4 << 20, '{'), 0, ""},
  };
  const AccountClient client = MakeClient();
  for (const auto& c : cases) {
    peer_.Reply(c.reply);
    Text message = "untouched";
    EXPECT_EQ(client.RegisterUser("987654321", "pw", "", "", &message), c.code) << c.name;
    EXPECT_EQ(message, c.message) << c.name;
  }
}

TEST_F(AccountWireTest, ObjectMessageIsItsJsonText) {
  peer_.Reply(R"({"code":200,"msg":{"token":"abc","name":"\u5f20\u4e09","n":1}})");
  Text message;
  EXPECT_EQ(MakeClient().GetInfo("abc", &message), 200);
  EXPECT_EQ(message, Gbk(R"({"token":"abc","name":"张三","n":1})"));
  // A text member read as an object is no JSON value; a missing one is empty.
  peer_.Reply(R"({"code":201,"msg":"no"})");
  EXPECT_EQ(MakeClient().GetInfo("abc", &message), 201);
  EXPECT_EQ(message, "null");
  peer_.Reply(R"({"code":202})");
  EXPECT_EQ(MakeClient().GetInfo("abc", &message), 202);
  EXPECT_EQ(message, "");
}

}  // namespace
}  // namespace quillet::test
