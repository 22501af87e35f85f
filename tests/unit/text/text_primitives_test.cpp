#include <gtest/gtest.h>

#include "core/text/text.h"

namespace quillet {
namespace {

TEST(TextTrim, Table) {
  const struct {
    Text text, expected;
  } cases[] = {
      {"  a b  ", "a b"},
      {"\xA1\xA1 a\xA1\xA1", "a"},
      {"\ta\n", "\ta\n"},  // only spaces are trimmed
      {"   ", ""},
      {"\xA1\xA1\xA1\xA1", ""},
      {"", ""},
      // B0 A1 is one character and A1 A1 after it a space; a lone A1 at the
      // end is none, though its last two bytes read A1 A1.
      {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
      {"\xB0\xA1\xA1\xA1\xA1", "\xB0\xA1\xA1\xA1\xA1"},
      {"\xA1\xA1\xA1", "\xA1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextTrim(c.text), c.expected);
  }
}

TEST(TextCompare, UnsignedBytesAndPrefixes) {
  EXPECT_EQ(TextCompare("abc", "abc"), 0);
  EXPECT_LT(TextCompare("ab", "abc"), 0);
  EXPECT_GT(TextCompare("abc", "ab"), 0);
  EXPECT_LT(TextCompare("", "a"), 0);
  EXPECT_LT(TextCompare("z", "\xD6\xD0"), 0);  // 0xD6 sorts above every ASCII byte
  EXPECT_GT(TextCompare("\x80", "\x7F"), 0);
  EXPECT_LT(TextCompare("B", "a"), 0);
}

TEST(TextCase, AsciiLettersOnly) {
  EXPECT_EQ(TextUpper("abZ1\xD6\xD0x"), "ABZ1\xD6\xD0X");
  EXPECT_EQ(TextLower("ABz1\xD6\xD0X"), "abz1\xD6\xD0x");
  // Trail bytes with letter values belong to the Chinese character.
  EXPECT_EQ(TextUpper("\xB0\x61"), "\xB0\x61");
  EXPECT_EQ(TextLower("\xB0\x41"), "\xB0\x41");
  EXPECT_EQ(TextUpper("a\xB0"), "A\xB0");
}

TEST(TextBytes, TextEndsAtFirstZeroByte) {
  EXPECT_EQ(TextFromBytes(Bytes{'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(TextFromBytes(Bytes{}), "");
  EXPECT_EQ(TextFromBytes(Bytes{0xD6, 0xD0}), "\xD6\xD0");
  EXPECT_EQ(BytesFromText("\xD6\xD0"
                          "a"),
            (Bytes{0xD6, 0xD0, 'a'}));
}

TEST(TextLeadByte, Range) {
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0xFE));
  EXPECT_FALSE(IsLeadByte(0xFF));
  EXPECT_FALSE(IsLeadByte('a'));
}

TEST(TextGbk, ConvertsLiteralsToCodePage936) {
  EXPECT_EQ(Gbk("中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(Gbk("#引号"), "#\xD2\xFD\xBA\xC5");
  EXPECT_EQ(Gbk("a€"), "a\x80");
  EXPECT_EQ(Gbk(""), "");
}

}  // namespace
}  // namespace quillet
