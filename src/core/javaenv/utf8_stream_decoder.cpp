#include "core/javaenv/utf8_stream_decoder.h"

#include <cstring>
#include <string_view>

#include "core/text/encodings.h"

namespace quillet {
namespace {

bool IsContinuation(std::uint8_t b) { return (b & 0xC0) == 0x80; }

// Length of the sequence a lead byte starts; 0 for bytes that cannot start
// a multi-byte sequence (ASCII, continuation bytes, invalid leads).
std::size_t SequenceLength(std::uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// Whether `b` may follow `lead` as the second byte: the ranges that rule out
// overlong forms, surrogates and code points above U+10FFFF.
bool ValidSecond(std::uint8_t lead, std::uint8_t b) {
  switch (lead) {
    case 0xE0:
      return b >= 0xA0 && b <= 0xBF;
    case 0xED:
      return b >= 0x80 && b <= 0x9F;
    case 0xF0:
      return b >= 0x90 && b <= 0xBF;
    case 0xF4:
      return b >= 0x80 && b <= 0x8F;
    default:
      return IsContinuation(b);
  }
}

// Start of an unfinished sequence at the end of `data`, or `size`.
std::size_t IncompleteTail(const std::uint8_t* data, std::size_t size) {
  std::size_t back = 0;
  while (back < 3 && back < size && IsContinuation(data[size - 1 - back])) ++back;
  if (back == size) return size;
  const std::size_t lead = size - 1 - back;
  const std::size_t need = SequenceLength(data[lead]);
  // Only the start of a character that can still be completed is held
  // back; broken bytes are converted at once, as they would be in one piece.
  if (need <= back + 1 || (back > 0 && !ValidSecond(data[lead], data[lead + 1]))) return size;
  return lead;
}

std::size_t AsciiPrefix(const std::uint8_t* data, std::size_t size) {
  std::size_t i = 0;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, 8);
    if (word & kHigh) break;
  }
  while (i < size && data[i] < 0x80) ++i;
  return i;
}

}  // namespace

void Utf8StreamDecoder::Convert(const std::uint8_t* data, std::size_t size, Text& out) {
  // Zero bytes are kept for the reader to cut at; the converter would stop
  // at the first one, so each stretch between them is converted alone.
  while (size > 0) {
    const void* zero = std::memchr(data, 0, size);
    const std::size_t stretch =
        zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data) : size;
    // Console output is mostly ASCII, which both code pages share: it is
    // copied as it is, and only the rest goes through the converter.
    const std::size_t plain = AsciiPrefix(data, stretch);
    out.append(reinterpret_cast<const char*>(data), plain);
    if (plain < stretch) {
      out += Utf8ToAnsi(
          std::string_view(reinterpret_cast<const char*>(data + plain), stretch - plain));
    }
    if (!zero) break;
    out += '\0';
    data += stretch + 1;
    size -= stretch + 1;
  }
}

Text Utf8StreamDecoder::Feed(const std::uint8_t* data, std::size_t size) {
  Text out;
  std::size_t used = 0;
  if (!carry_.empty()) {
    const std::size_t need = SequenceLength(static_cast<std::uint8_t>(carry_[0]));
    const auto lead = static_cast<std::uint8_t>(carry_[0]);
    while (carry_.size() < need && used < size &&
           (carry_.size() == 1 ? ValidSecond(lead, data[used]) : IsContinuation(data[used]))) {
      carry_.push_back(static_cast<char>(data[used++]));
    }
    if (carry_.size() < need && used == size) return out;  // still unfinished
    // Complete, or broken off by a byte that cannot continue it.
    out += Utf8ToAnsi(carry_);
    carry_.clear();
  }
  const std::size_t end = used + IncompleteTail(data + used, size - used);
  Convert(data + used, end - used, out);
  carry_.assign(reinterpret_cast<const char*>(data + end), size - end);
  return out;
}

Text Utf8StreamDecoder::Finish() {
  Text out = carry_.empty() ? Text() : Utf8ToAnsi(carry_);
  carry_.clear();
  return out;
}

}  // namespace quillet
