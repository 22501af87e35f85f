// The account client against the bundled server, end to end over loopback.

#include <gtest/gtest.h>

#include "account_test_support.h"
#include "core/script/json_object.h"
#include "core/text/text.h"

namespace quillet::test {
namespace {

Text MemberOf(const Text& json, const char* name) {
  JsonObject object;
  object.Parse(json);
  return object.GetText(name);
}

class AccountClientTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }

  // Registers and signs in; the session token.
  Text SignedIn(const Text& user, const Text& password, const Text& nickname = {}) {
    Text message;
    EXPECT_EQ(client_.RegisterUser(user, password, "", nickname, &message), 200) << message;
    EXPECT_EQ(client_.LogOn(user, password, &message), 200) << message;
    return MemberOf(message, "token");
  }

  ServerUnderTest server_;
  AccountClient client_ = server_.MakeClient();
};

TEST_F(AccountClientTest, RegisterThenSignIn) {
  Text message;
  EXPECT_EQ(client_.RegisterUser("123456789", "secret", "", Gbk("小明"), &message), 200);
  EXPECT_EQ(message, Gbk("注册成功"));

  EXPECT_EQ(client_.LogOn("123456789", "secret", &message), 200);
  // The message is the JSON text of the reply's object, members in the
  // server's order.
  EXPECT_EQ(message.rfind("{\"token\":\"", 0), 0u) << message;
  EXPECT_EQ(MemberOf(message, "name"), Gbk("小明"));
  EXPECT_EQ(MemberOf(message, "account"), "123456789");
  EXPECT_EQ(MemberOf(message, "token").size(), 32u);
}

TEST_F(AccountClientTest, RegisteringTwiceIsRefused) {
  Text message;
  ASSERT_EQ(client_.RegisterUser("123456789", "a", "", "", &message), 200);
  EXPECT_EQ(client_.RegisterUser("123456789", "b", "", "", &message), 201);
  EXPECT_EQ(message, Gbk("该账号已被注册"));
}

TEST_F(AccountClientTest, WrongPasswordOrUnknownAccount) {
  SignedIn("123456789", "secret");
  Text message;
  EXPECT_EQ(client_.LogOn("123456789", "Secret", &message), 201);
  // The object reading of a text member: a text of words is no JSON value.
  EXPECT_EQ(message, "null");
  EXPECT_EQ(client_.LogOn("999999999", "secret", &message), 201);
  EXPECT_EQ(client_.LogOn("123456789", "", &message), 201);
}

TEST_F(AccountClientTest, PasswordWithAmpersandAndEqualsSignWorksBothWays) {
  Text message;
  ASSERT_EQ(client_.RegisterUser("123456789", "p&w=d", "", "", &message), 200) << message;
  EXPECT_EQ(client_.LogOn("123456789", "p&w=d", &message), 200) << message;
  // Only the whole password opens the account, not its first piece.
  EXPECT_EQ(client_.LogOn("123456789", "p", &message), 201);
}

TEST_F(AccountClientTest, LeftOutMessageStillRunsTheRequest) {
  EXPECT_EQ(client_.RegisterUser("123456789", "secret"), 200);
  EXPECT_EQ(client_.LogOn("123456789", "secret"), 200);
}

TEST_F(AccountClientTest, NameAndInfo) {
  const Text token = SignedIn("123456789", "secret", Gbk("旧名"));
  Text message;
  EXPECT_EQ(client_.AlterName(token, Gbk("新名字"), &message), 200) << message;
  EXPECT_EQ(client_.GetInfo(token, &message), 200) << message;
  EXPECT_EQ(MemberOf(message, "name"), Gbk("新名字"));
  EXPECT_EQ(MemberOf(message, "account"), "123456789");
  EXPECT_EQ(client_.GetInfo("not-a-token", &message), 403);
  EXPECT_EQ(client_.AlterName("not-a-token", "x", &message), 403);
}

TEST_F(AccountClientTest, PasswordChangeEndsSessions) {
  const Text token = SignedIn("123456789", "old");
  Text message;
  EXPECT_EQ(client_.AlterPassword("123456789", "wrong", "new", &message), 201);
  EXPECT_EQ(client_.AlterPassword("123456789", "old", "new", &message), 200) << message;
  EXPECT_EQ(client_.GetInfo(token, &message), 403);
  EXPECT_EQ(client_.LogOn("123456789", "old", &message), 201);
  EXPECT_EQ(client_.LogOn("123456789", "new", &message), 200);
}

TEST_F(AccountClientTest, ClockInOncePerDayAndMotion) {
  const Text token = SignedIn("123456789", "secret");
  Text message;
  EXPECT_EQ(client_.ClockIn(token, &message), 200) << message;
  EXPECT_EQ(message, Gbk("打卡成功"));
  EXPECT_EQ(client_.ClockIn(token, &message), 201);
  EXPECT_EQ(client_.GetInfo(token, &message), 200);
  EXPECT_EQ(MemberOf(message, "clock_days"), "1");
  EXPECT_EQ(client_.Motion(token, &message), 200) << message;
  EXPECT_EQ(client_.Motion("", &message), 403);
}

TEST_F(AccountClientTest, EmailBindRecoverAndUnbind) {
  const Text token = SignedIn("123456789", "secret");
  const Text email = "user@example.com";
  Text message;
  EXPECT_EQ(client_.RequestVerificationCode("not-an-address", "1", &message), 400);
  ASSERT_EQ(client_.RequestVerificationCode(email, "1", &message), 200) << message;
  const Text code = server_.CodeFor(email);
  ASSERT_EQ(code.size(), 6u);
  EXPECT_EQ(client_.BindEmail(token, email, "000000" == code ? "111111" : "000000", &message), 201);
  EXPECT_EQ(client_.BindEmail(token, email, code, &message), 200) << message;
  // A code is good for one use only.
  EXPECT_EQ(client_.RecoverPassword(email, code, "fresh", &message), 201);

  ASSERT_EQ(client_.RequestVerificationCode(email, "2", &message), 200);
  EXPECT_EQ(client_.RecoverPassword(email, server_.CodeFor(email), "fresh", &message), 200)
      << message;
  EXPECT_EQ(client_.LogOn("123456789", "fresh", &message), 200);
  const Text newToken = MemberOf(message, "token");

  ASSERT_EQ(client_.RequestVerificationCode(email, "3", &message), 200);
  EXPECT_EQ(client_.UnbindEmail(newToken, "other@example.com", server_.CodeFor(email), &message),
            201);
  EXPECT_EQ(client_.UnbindEmail(newToken, email, server_.CodeFor(email), &message), 200) << message;
  EXPECT_EQ(client_.GetInfo(newToken, &message), 200);
  EXPECT_EQ(MemberOf(message, "email"), "");
}

TEST_F(AccountClientTest, SetUpAccountMovesToANewNumber) {
  const Text token = SignedIn("123456789", "secret");
  SignedIn("555555555", "other");
  Text message;
  EXPECT_EQ(client_.SetUpAccount(token, "555555555", "", &message), 201);  // taken
  EXPECT_EQ(client_.SetUpAccount(token, "not digits", "", &message), 400);
  EXPECT_EQ(client_.SetUpAccount(token, "987654321", "", &message), 200) << message;
  EXPECT_EQ(client_.GetInfo(token, &message), 200);
  EXPECT_EQ(MemberOf(message, "account"), "987654321");
  EXPECT_EQ(client_.SetUpAccount(token, "987654321", "changed", &message), 200);
  EXPECT_EQ(client_.LogOn("987654321", "changed", &message), 200);
  EXPECT_EQ(client_.LogOn("123456789", "secret", &message), 201);
}

TEST_F(AccountClientTest, StaleTimeStampIsRefused) {
  const FixedClock old({2001, 1, 1, 8, 0, 0, 0});
  const AccountClient stale = server_.MakeClient(&old);
  Text message;
  EXPECT_EQ(stale.RegisterUser("123456789", "secret", "", "", &message), 402);
  EXPECT_EQ(message, Gbk("请求已过期，请校准系统时间"));
}

TEST_F(AccountClientTest, ServerClockReplacesAWrongLocalClock) {
  // The local clock is years off; the stamp from the time site's Date
  // header is what makes the request pass.
  const FixedClock old({2001, 1, 1, 8, 0, 0, 0});
  const AccountClient client = server_.MakeClient(&old, /*useServerTime=*/1);
  Text message;
  EXPECT_EQ(client.RegisterUser("123456789", "secret", "", "", &message), 200) << message;
  EXPECT_EQ(client.LogOn("123456789", "secret", &message), 200);
}

TEST_F(AccountClientTest, UnsignedRequestIsRefused) {
  AccountClient unsigned_ = server_.MakeClient();
  unsigned_.Configure(server_.BaseUrl(), kTestAppId, kTestAppKey, "", kTestMachineCode, 0, 0);
  Text message;
  EXPECT_EQ(unsigned_.RegisterUser("123456789", "secret", "", "", &message), 401);
}

TEST_F(AccountClientTest, WrongKeyOrApplicationIsRefused) {
  AccountClient other = server_.MakeClient();
  other.Configure(server_.BaseUrl(), kTestAppId, "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", "",
                  kTestMachineCode, 1, 0);
  Text message;
  EXPECT_EQ(other.RegisterUser("123456789", "secret", "", "", &message), 401);
  EXPECT_EQ(message, Gbk("签名校验失败"));
  other.Configure(server_.BaseUrl(), "10001", kTestAppKey, "", kTestMachineCode, 1, 0);
  EXPECT_EQ(other.RegisterUser("123456789", "secret", "", "", &message), 404);
}

TEST_F(AccountClientTest, UnconfiguredOrUnreachableGivesZero) {
  const FixedIdentity identity;
  const LocalWallClock clock;
  AccountClient blank(AccountServices{&clock, &identity, ""});
  Text message = "untouched";
  EXPECT_EQ(blank.LogOn("1", "2", &message), 0);
  EXPECT_EQ(message, "");

  AccountClient copy = client_.Copy();
  server_.server().Stop();
  EXPECT_EQ(copy.LogOn("123456789", "secret", &message), 0);
  EXPECT_EQ(message, "");
}

TEST_F(AccountClientTest, CopyKeepsSettingsAndDestroyClearsThem) {
  AccountClient copy = client_.Copy();
  EXPECT_EQ(copy.Settings().BaseUrl, client_.Settings().BaseUrl);
  EXPECT_EQ(copy.Settings().SignRequests, 1);
  copy.Destroy();
  EXPECT_EQ(copy.Settings().BaseUrl, "");
  EXPECT_EQ(client_.Settings().AppKey, kTestAppKey);
  EXPECT_EQ(client_.ComputeMachineCode(true), "59E98894209B8F1B");
}

class CipheredAccountTest : public ::testing::Test {
 protected:
  ServerUnderTest server_{"QuilletCipherKey"};
};

TEST_F(CipheredAccountTest, EveryMessageIsDeciphered) {
  ASSERT_TRUE(server_.ok());
  const AccountClient client = server_.MakeClient();
  Text message;
  EXPECT_EQ(client.RegisterUser("123456789", "p&w=d", "", Gbk("小明"), &message), 200) << message;
  EXPECT_EQ(message, Gbk("注册成功"));
  // With a cipher key the object message is read as text and deciphered
  // into the object's JSON text.
  EXPECT_EQ(client.LogOn("123456789", "p&w=d", &message), 200) << message;
  EXPECT_EQ(MemberOf(message, "name"), Gbk("小明"));
  const Text token = MemberOf(message, "token");
  EXPECT_EQ(client.GetInfo(token, &message), 200);
  EXPECT_EQ(MemberOf(message, "account"), "123456789");
  EXPECT_EQ(client.LogOn("123456789", "bad", &message), 201);
  EXPECT_EQ(message, Gbk("账号或密码错误"));
}

TEST_F(CipheredAccountTest, WrongCipherKeyFailsTheSign) {
  ASSERT_TRUE(server_.ok());
  AccountClient client = server_.MakeClient();
  client.Configure(server_.BaseUrl(), kTestAppId, kTestAppKey, "SomeOtherKey", kTestMachineCode, 1,
                   0);
  EXPECT_EQ(client.RegisterUser("123456789", "secret"), 401);
}

TEST(PlainServer, RefusesCipheredRequests) {
  ServerUnderTest server;
  ASSERT_TRUE(server.ok());
  AccountClient client = server.MakeClient();
  client.Configure(server.BaseUrl(), kTestAppId, kTestAppKey, "Key", kTestMachineCode, 1, 0);
  EXPECT_EQ(client.RegisterUser("123456789", "secret"), 400);
}

}  // namespace
}  // namespace quillet::test
