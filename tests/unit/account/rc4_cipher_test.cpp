#include "core/account/rc4_cipher.h"

#include <gtest/gtest.h>

#include "core/text/text.h"

namespace quillet {
namespace {

struct Rc4Vector {
  const char* key;
  const char* plain;
  const char* hex;
};

// The published RC4 test vectors.
constexpr Rc4Vector kVectors[] = {
    {"Key", "Plaintext", "BBF316E8D940AF0AD3"},
    {"Wiki", "pedia", "1021BF0420"},
    {"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
};

TEST(Rc4Cipher, EnciphersKnownVectorsAsUpperCaseHex) {
  for (const auto& v : kVectors) {
    EXPECT_EQ(EncipherText(v.plain, v.key), v.hex) << v.key;
  }
}

TEST(Rc4Cipher, DeciphersHexOfEitherCaseWithSpaces) {
  for (const auto& v : kVectors) {
    Text spaced;
    for (const char* p = v.hex; *p; ++p) {
      spaced += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
      if ((p - v.hex) % 3 == 1) spaced += ' ';
    }
    EXPECT_EQ(DecipherText(v.hex, v.key), v.plain) << v.key;
    EXPECT_EQ(DecipherText(spaced, v.key), v.plain) << spaced;
  }
}

TEST(Rc4Cipher, EmptyTextAndEmptyKeyRules) {
  EXPECT_EQ(EncipherText("", "Key"), "");
  EXPECT_EQ(DecipherText("", "Key"), "");
  EXPECT_EQ(EncipherText("plain", ""), "plain");
  EXPECT_EQ(DecipherText("BBF3", ""), "BBF3");
}

TEST(Rc4Cipher, FinalSingleDigitIsReadAlone) {
  // "BBF3" + "1": the last digit is the byte 0x01, which the third stream
  // byte of key "Key" (0x16 ^ 'a' = 0x77) turns into 'v'.
  EXPECT_EQ(DecipherText("BBF31", "Key"), "Plv");
}

TEST(Rc4Cipher, RoundTripsChineseText) {
  const Text chinese = Gbk("账户或密码错误 & token=1");
  const Text hex = EncipherText(chinese, Gbk("密钥"));
  EXPECT_EQ(hex.size(), chinese.size() * 2);
  EXPECT_EQ(DecipherText(hex, Gbk("密钥")), chinese);
  EXPECT_NE(DecipherText(hex, "other"), chinese);
}

TEST(Rc4Cipher, EveryCallStartsAFreshStream) {
  EXPECT_EQ(EncipherText("Plaintext", "Key"), EncipherText("Plaintext", "Key"));
  // The stream is not continued: the tail of a longer text is not the
  // cipher of the tail alone.
  EXPECT_NE(EncipherText("PlaintextPlaintext", "Key").substr(18), "BBF316E8D940AF0AD3");
}

}  // namespace
}  // namespace quillet
