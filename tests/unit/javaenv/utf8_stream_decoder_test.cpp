#include "core/javaenv/utf8_stream_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

Text FeedInPieces(const std::string& utf8, const std::vector<std::size_t>& cuts) {
  Utf8StreamDecoder decoder;
  Text out;
  std::size_t from = 0;
  auto data = reinterpret_cast<const std::uint8_t*>(utf8.data());
  for (std::size_t cut : cuts) {
    out += decoder.Feed(data + from, cut - from);
    from = cut;
  }
  out += decoder.Feed(data + from, utf8.size() - from);
  return out + decoder.Finish();
}

// Every way of cutting the text in two, and in single bytes, gives the same
// text as converting it whole: no character is broken at a cut.
TEST(Utf8StreamDecoder, CharactersSplitAcrossPiecesSurviveEveryCut) {
  const std::string utf8 = "javac 不是内部命令 € x\n";  // 1-, 3- and 3-byte characters
  const Text whole = Gbk(utf8);
  ASSERT_FALSE(whole.empty());
  for (std::size_t cut = 0; cut <= utf8.size(); ++cut) {
    EXPECT_EQ(FeedInPieces(utf8, {cut}), whole) << "cut at " << cut;
  }
  std::vector<std::size_t> everyByte;
  for (std::size_t i = 1; i < utf8.size(); ++i) everyByte.push_back(i);
  EXPECT_EQ(FeedInPieces(utf8, everyByte), whole);
}

TEST(Utf8StreamDecoder, FourByteCharacterSplitThreeWays) {
  // U+1F600 has no code page 936 form: it must come out as one "?", not four.
  const std::string utf8 =
      "a\xF0\x9F\x98\x80"
      "b";
  EXPECT_EQ(FeedInPieces(utf8, {2, 3, 4}), "a?b");
}

struct BrokenCase {
  const char* name;
  std::string utf8;
  std::vector<std::size_t> cuts;
  Text expected;
};

TEST(Utf8StreamDecoder, BrokenSequencesBecomeQuestionMarks) {
  const BrokenCase cases[] = {
      {"output ends inside a character", "ab\xE4\xB8", {}, "ab?"},
      {"lead byte followed by ASCII in the next piece",
       "\xE4"
       "ok",
       {1},
       "?ok"},
      {"stray continuation byte", "x\x80y", {2}, "x?y"},
      {"ASCII passes through untouched", std::string("a\tb\r\n", 5), {2}, "a\tb\r\n"},
  };
  for (const BrokenCase& c : cases) {
    EXPECT_EQ(FeedInPieces(c.utf8, c.cuts), c.expected) << c.name;
  }
}

TEST(Utf8StreamDecoder, ZeroBytesArePassedOnForTheReaderToCut) {
  // Text after a zero byte is converted too: the reader decides what to cut.
  const std::string utf8("中\0文\0rest", 12);
  for (std::size_t cut = 0; cut <= utf8.size(); ++cut) {
    EXPECT_EQ(FeedInPieces(utf8, {cut}),
              Gbk("中") + std::string(1, '\0') + Gbk("文") + std::string("\0rest", 5))
        << "cut at " << cut;
  }
}

}  // namespace
}  // namespace quillet
