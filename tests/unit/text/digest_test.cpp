#include "core/text/digest.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Md5Hex, KnownVectors) {
  const struct {
    Text input, hex;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Md5Hex(c.input), c.hex);
  }
}

TEST(Md5Hex, UpperCaseAndMiddleDigits) {
  EXPECT_EQ(Md5Hex("abc", true), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Md5Hex("abc", false, true), "3cd24fb0d6963f7d");
  EXPECT_EQ(Md5Hex("abc", true, true), "3CD24FB0D6963F7D");
  EXPECT_EQ(Md5Hex(std::string_view("\0\xD6", 2)).size(), 32u);
}

TEST(Sha256Hex, KnownVectors) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Base64Encode, Rfc4648Vectors) {
  const struct {
    Text input, encoded;
  } cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"user:\xC3\xDC\xC2\xEB", "dXNlcjrD3MLr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Base64Encode(c.input), c.encoded);
  }
}

TEST(Base64Encode, LongInputHasNoLineBreaksAndPadsOnlyAtEnd) {
  const Text input(3 * 1024 * 1024 + 1, 'x');
  const Text encoded = Base64Encode(input);
  ASSERT_EQ(encoded.size(), 4 * ((input.size() + 2) / 3));
  EXPECT_EQ(encoded.find('\n'), Text::npos);
  EXPECT_EQ(encoded.find('='), encoded.size() - 2);
  EXPECT_EQ(encoded.substr(0, 4), "eHh4");
}

}  // namespace
}  // namespace quillet
