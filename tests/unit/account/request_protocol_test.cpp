#include "core/account/request_protocol.h"

#include <gtest/gtest.h>

#include "core/account/rc4_cipher.h"

namespace quillet {
namespace {

constexpr char kAppKey[] = "QuilletLocalDevelopmentKey2026AB";
constexpr std::string_view kLogOnFields[] = {"account", "password", "markcode"};

TEST(RequestProtocol, FormTextInsertsValuesUnescaped) {
  const Text values[] = {"123456789", "a&b=c", "ABCDEF0123456789"};
  EXPECT_EQ(BuildFormText(kLogOnFields, values, "1765425419"),
            "account=123456789&password=a&b=c&markcode=ABCDEF0123456789&t=1765425419");
}

TEST(RequestProtocol, EmptyValuesStillSendTheirNames) {
  constexpr std::string_view fields[] = {"name", "user"};
  const Text values[] = {"", "1"};
  EXPECT_EQ(BuildFormText(fields, values, "5"), "name=&user=1&t=5");
}

// The sign is MD5 (independently computed) of the form text, "&" and the key.
TEST(RequestProtocol, SignedBodyEndsWithTheLowerCaseSign) {
  const Text form = "account=123456789&password=a&b=c&markcode=ABCDEF0123456789&t=1765425419";
  EXPECT_EQ(BuildRequestBody(form, true, kAppKey, ""),
            form + "&sign=37168d8b9086edc3d59448bed336031a");
  EXPECT_EQ(BuildRequestBody(form, false, kAppKey, ""), form);
}

TEST(RequestProtocol, CipheredBodyCarriesTheSignInsideAndOutside) {
  const Text form = "account=123456789&password=a&b=c&markcode=ABCDEF0123456789&t=1765425419";
  const Text sign = "37168d8b9086edc3d59448bed336031a";
  const Text body = BuildRequestBody(form, true, kAppKey, "cipher");
  ASSERT_EQ(body.rfind("data=", 0), 0u);
  const auto signAt = body.find("&sign=");
  ASSERT_NE(signAt, Text::npos);
  EXPECT_EQ(body.substr(signAt + 6), sign);
  const Text hex = body.substr(5, signAt - 5);
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), Text::npos);
  EXPECT_EQ(DecipherText(hex, "cipher"), form + "&sign=" + sign);
}

TEST(RequestProtocol, UnsignedCipheredBodyHasAnEmptySign) {
  const Text body = BuildRequestBody("a=1&t=2", false, kAppKey, "k");
  EXPECT_EQ(body, "data=" + EncipherText("a=1&t=2", "k") + "&sign=");
}

TEST(RequestProtocol, UrlKeepsTheDoubleSlash) {
  EXPECT_EQ(BuildRequestUrl("http://127.0.0.1:18080/", "user_logon", "10000"),
            "http://127.0.0.1:18080//api.php?act=user_logon&app=10000");
  EXPECT_EQ(BuildRequestUrl("", "clock", ""), "/api.php?act=clock&app=");
}

TEST(RequestProtocol, ReplyCodeIsTheLeadingInteger) {
  const std::pair<const char*, long> cases[] = {
      {"200", 200},  {"", 0},    {"abc", 0}, {"201x", 201},
      {" 404", 404}, {"-1", -1}, {"3.9", 3}, {"99999999999999999999999", 0},
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(ParseReplyCode(text), code) << text;
}

TEST(RequestProtocol, FindsOperationsByActionName) {
  EXPECT_EQ(FindOperation("set_up"), &OperationFor(AccountAction::kSetUpAccount));
  EXPECT_EQ(FindOperation("user_logon"), &OperationFor(AccountAction::kLogOn));
  EXPECT_EQ(FindOperation("nope"), nullptr);
  EXPECT_EQ(FindOperation(""), nullptr);
}

}  // namespace
}  // namespace quillet
