#include "core/text/encodings.h"

#include <gtest/gtest.h>

#include <thread>

namespace quillet {
namespace {

Bytes B(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(AnsiToUtf16, TerminatorRules) {
  EXPECT_EQ(AnsiToUtf16(""), Bytes());
  EXPECT_EQ(AnsiToUtf16("", true), Bytes());
  EXPECT_EQ(AnsiToUtf16("A"), B({0x41, 0, 0, 0}));
  EXPECT_EQ(AnsiToUtf16("A", true), B({0x41, 0}));
  EXPECT_EQ(AnsiToUtf16("\xD6\xD0"
                        "a"),
            B({0x2D, 0x4E, 0x61, 0, 0, 0}));
  // A zero byte ends the input.
  EXPECT_EQ(AnsiToUtf16(std::string_view("a\0b", 3), true), B({0x61, 0}));
  EXPECT_EQ(AnsiToUtf16(std::string_view("\0b", 2)), Bytes());
}

TEST(AnsiToUtf16, InvalidSequencesBecomeReplacementCharacter) {
  const struct {
    const char* name;
    Text text;
    Bytes expected;
  } cases[] = {
      {"euro sign", "\x80", B({0xAC, 0x20})},
      {"byte FF",
       "\xFF"
       "a",
       B({0xFD, 0xFF, 0x61, 0})},
      {"lead byte at end", "a\xD6", B({0x61, 0, 0xFD, 0xFF})},
      {"lead before ascii keeps ascii", "\x81 x", B({0xFD, 0xFF, 0x20, 0, 0x78, 0})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AnsiToUtf16(c.text, true), c.expected);
  }
}

TEST(Utf16ToAnsi, StopsAtZeroUnitAndIgnoresOddByte) {
  const struct {
    const char* name;
    Bytes utf16;
    Text expected;
  } cases[] = {
      {"no terminator", B({0x41, 0, 0x2D, 0x4E}), "A\xD6\xD0"},
      {"zero unit in middle", B({0x41, 0, 0, 0, 0x42, 0}), "A"},
      {"zero unit first", B({0, 0, 0x42, 0}), ""},
      {"odd last byte", B({0x41, 0, 0x42}), "A"},
      {"zero low byte is no terminator", B({0x00, 0x4E}), "\xD2\xBB"},  // U+4E00
      {"empty", Bytes(), ""},
      {"not in code page 936", B({0x3B, 0x04, 0x41, 0}),
       "\xA7\xDD"
       "A"},  // Cyrillic is there
      {"thai is not", B({0x01, 0x0E, 0x41, 0}), "?A"},
      {"emoji pair is one character", B({0x3D, 0xD8, 0x00, 0xDE, 0x41, 0}), "?A"},
      {"lone surrogate", B({0x00, 0xD8, 0x41, 0}), "?A"},
      {"replacement character", B({0xFD, 0xFF}), "?"},
      {"euro sign", B({0xAC, 0x20}), "\x80"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf16ToAnsi(c.utf16), c.expected);
  }
}

TEST(Utf8ToAnsi, Table) {
  const struct {
    const char* name;
    Text utf8;
    Text expected;
  } cases[] = {
      {"chinese", "\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4"},
      {"ascii", "abc", "abc"},
      {"invalid byte",
       "a\xFF"
       "b",
       "a?b"},
      {"truncated sequence at end", "a\xE4\xB8", "a?"},
      {"truncated sequence before ascii",
       "\xE4\xB8"
       "a",
       "?a"},
      {"surrogate encoded", "\xED\xA0\x80", "???"},
      {"overlong", "\xC0\xAF", "??"},
      {"not in code page 936", "\xE0\xB8\x81x", "?x"},
      {"zero byte ends", std::string("a\0b", 3), "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToAnsi(c.utf8), c.expected);
    EXPECT_EQ(Utf8BytesToAnsi(B(c.utf8)), c.expected);
  }
  EXPECT_EQ(Utf8BytesToAnsi(Bytes()), "");
}

TEST(MultiByteToUtf16, CodePages) {
  EXPECT_EQ(MultiByteToUtf16("\xE4\xB8\xAD"), B({0x2D, 0x4E, 0, 0}));
  EXPECT_EQ(MultiByteToUtf16("\xD6\xD0", kCodePageGbk), B({0x2D, 0x4E, 0, 0}));
  EXPECT_EQ(MultiByteToUtf16("", kCodePageUtf8), B({0, 0}));
  EXPECT_EQ(MultiByteToUtf16("\xE4", kCodePageUtf8), B({0xFD, 0xFF, 0, 0}));
  EXPECT_EQ(MultiByteToUtf16("a", 1), Bytes());  // no such code page
}

TEST(Utf16ToMultiByte, CodePages) {
  const Bytes zhong = B({0x2D, 0x4E, 0, 0});
  EXPECT_EQ(Utf16ToMultiByte(zhong), "\xD6\xD0");
  EXPECT_EQ(Utf16ToMultiByte(zhong, kCodePageUtf8), "\xE4\xB8\xAD");
  EXPECT_EQ(Utf16ToMultiByte(B({0x00, 0xD8}), kCodePageUtf8), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToMultiByte(zhong, 1), "");
}

TEST(Encodings, EveryValidDoubleByteCharacterRoundTrips) {
  long checked = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const Text ch{static_cast<char>(lead), static_cast<char>(trail)};
      const Bytes wide = AnsiToUtf16(ch, true);
      if (wide == B({0xFD, 0xFF}) || wide.size() != 2) continue;  // not a character
      ++checked;
      ASSERT_EQ(Utf16ToAnsi(wide), ch) << std::hex << lead << ' ' << trail;
      ASSERT_EQ(Utf8ToAnsi(AnsiToUtf8(ch)), ch) << std::hex << lead << ' ' << trail;
    }
  }
  EXPECT_GT(checked, 20000);  // GBK has 21886 characters; a broken table would have far fewer
}

TEST(ConvertCharset, DeclaredCharsets) {
  EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "utf-8", "GBK"), "\xD6\xD0");
  EXPECT_EQ(ConvertCharset("\xE4\xB8\xAD", "UTF-8", "gbk"), "\xD6\xD0");
  // Pages declaring GB2312 carry GBK characters outside GB2312 (here 0x81 0x40).
  EXPECT_EQ(ConvertCharset("\x81\x40", "GB2312", "utf-8"), "\xE4\xB8\x82");
  EXPECT_EQ(ConvertCharset("\xA4\xA4", "big5", "GBK"), "\xD6\xD0");
  EXPECT_EQ(ConvertCharset("\xA4\xA4\xFF", "Big5", "gbk"), "\xD6\xD0?");
  EXPECT_EQ(ConvertCharset("abc", "no-such-charset", "gbk"), "abc");
  EXPECT_EQ(ConvertCharset("abc", nullptr, "gbk"), "abc");
}

TEST(Encodings, ThreadsConvertIndependently) {
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &failures] {
      for (int i = 0; i < 2000; ++i) {
        if (Utf8ToAnsi("\xE4\xB8\xAD\xE6\x96\x87") != "\xD6\xD0\xCE\xC4" ||
            AnsiToUtf8("\xD6\xD0\xFF") != "\xE4\xB8\xAD\xEF\xBF\xBD") {
          ++failures[t];
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace quillet
