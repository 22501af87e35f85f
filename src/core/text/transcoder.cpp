#include "core/text/transcoder.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace quillet::detail {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Descriptors are costly to open; each thread keeps its own, so no lock and no
// shared conversion state.
class ConverterCache {
 public:
  ~ConverterCache() {
    for (Entry& e : entries_) iconv_close(e.cd);
  }

  iconv_t Get(const std::string& from, const std::string& to) {
    for (Entry& e : entries_) {
      if (e.from == from && e.to == to) {
        iconv(e.cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return e.cd;
      }
    }
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == kNoConverter) return cd;
    entries_.push_back(Entry{from, to, cd});
    return cd;
  }

 private:
  struct Entry {
    std::string from;
    std::string to;
    iconv_t cd;
  };
  std::vector<Entry> entries_;
};

iconv_t CachedConverter(const std::string& from, const std::string& to) {
  thread_local ConverterCache cache;
  return cache.Get(from, to);
}

bool IsUnicode(CharsetKind kind) { return kind != CharsetKind::kOther; }

std::uint8_t ByteAt(const char* p) { return static_cast<std::uint8_t>(*p); }

// Length of the UTF-8 sequence at `p`: the whole character when it is valid,
// otherwise its longest valid beginning (at least one byte), so that each
// broken piece turns into exactly one replacement character.
std::size_t Utf8SequenceLength(const char* p, std::size_t left) {
  const std::uint8_t b = ByteAt(p);
  std::size_t need;
  std::uint8_t lo = 0x80;
  std::uint8_t hi = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    need = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 3;
    if (b == 0xE0) lo = 0xA0;
    if (b == 0xED) hi = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  std::size_t n = 1;
  while (n < need && n < left) {
    const std::uint8_t c = ByteAt(p + n);
    if (c < (n == 1 ? lo : 0x80) || c > (n == 1 ? hi : 0xBF)) break;
    ++n;
  }
  return n;
}

std::size_t Utf16SequenceLength(const char* p, std::size_t left) {
  if (left < 4) return left < 2 ? left : 2;
  const unsigned unit = ByteAt(p) | (ByteAt(p + 1) << 8);
  const unsigned next = ByteAt(p + 2) | (ByteAt(p + 3) << 8);
  const bool pair = unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF;
  return pair ? 4 : 2;
}

std::size_t BrokenLength(CharsetKind kind, const char* p, std::size_t left) {
  std::size_t n = 1;
  switch (kind) {
    case CharsetKind::kUtf8:
      n = Utf8SequenceLength(p, left);
      break;
    case CharsetKind::kUtf16Le:
      n = Utf16SequenceLength(p, left);
      break;
    case CharsetKind::kUtf32Le:
      n = 4;
      break;
    case CharsetKind::kOther:
      n = 1;
      break;
  }
  return n < left ? n : left;
}

std::string_view Replacement(CharsetKind target) {
  switch (target) {
    case CharsetKind::kUtf8:
      return std::string_view("\xEF\xBF\xBD", 3);
    case CharsetKind::kUtf16Le:
      return std::string_view("\xFD\xFF", 2);
    case CharsetKind::kUtf32Le:
      return std::string_view("\xFD\xFF\x00\x00", 4);
    case CharsetKind::kOther:
      break;
  }
  return "?";
}

std::size_t InitialCapacity(std::size_t inputSize, CharsetKind target) {
  switch (target) {
    case CharsetKind::kUtf8:
      return inputSize + inputSize / 2 + 16;
    case CharsetKind::kUtf16Le:
      return inputSize * 2 + 16;
    case CharsetKind::kUtf32Le:
      return inputSize * 4 + 16;
    case CharsetKind::kOther:
      break;
  }
  return inputSize + 16;
}

// One iconv pass. A stop on EILSEQ/EINVAL is either an invalid input sequence
// or (for a non-Unicode target) a character the target lacks; both are
// replaced and the walk goes on after the offending sequence.
template <typename Buffer>
char* Base(Buffer& out) {
  return reinterpret_cast<char*>(out.data());
}

template <typename Buffer>
void RunConverter(iconv_t cd, std::string_view input, CharsetKind from, CharsetKind to,
                  Buffer& out) {
  out.resize(InitialCapacity(input.size(), to));
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  std::size_t used = 0;
  const std::string_view replacement = Replacement(to);
  for (;;) {
    char* outPtr = Base(out) + used;
    std::size_t outLeft = out.size() - used;
    const std::size_t r = inLeft == 0 ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                                      : iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    used = static_cast<std::size_t>(outPtr - Base(out));
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) break;
      continue;
    }
    if (error == E2BIG) {
      out.resize(out.size() * 2 + 16);
      continue;
    }
    if (error != EILSEQ && error != EINVAL) break;
    const std::size_t skip = error == EINVAL ? inLeft : BrokenLength(from, in, inLeft);
    if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + 16);
    std::memcpy(Base(out) + used, replacement.data(), replacement.size());
    used += replacement.size();
    in += skip;
    inLeft -= skip;
  }
  out.resize(used);
}

std::string LowerAscii(std::string_view name) {
  std::string lower;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '"' || c == '\'') continue;
    lower.push_back(c >= 'A' && c <= 'Z' ? char(c + 32) : c);
  }
  return lower;
}

}  // namespace

Charset CharsetFromName(std::string_view name) {
  const std::string n = LowerAscii(name);
  if (n == "utf-8" || n == "utf8") return {"UTF-8", CharsetKind::kUtf8};
  if (n == "utf-16le" || n == "utf-16" || n == "unicode")
    return {"UTF-16LE", CharsetKind::kUtf16Le};
  if (n == "utf-32le" || n == "utf-32") return {"UTF-32LE", CharsetKind::kUtf32Le};
  // Pages that declare GB2312 are written in GBK in practice; decoding them as
  // GB2312 would lose every character outside the small set.
  if (n == "gbk" || n == "gb2312" || n == "cp936" || n == "x-gbk" || n == "windows-936" ||
      n == "ms936" || n == "euc-cn") {
    return {"CP936", CharsetKind::kOther};
  }
  if (n == "ansi") return {"CP936", CharsetKind::kOther};
  return {n, CharsetKind::kOther};
}

Charset CharsetFromCodePage(unsigned codePage) {
  switch (codePage) {
    case 0:  // the system ANSI code page
    case 3:  // the thread's ANSI code page
    case 936:
      return {"CP936", CharsetKind::kOther};
    case 65001:
      return {"UTF-8", CharsetKind::kUtf8};
    case 1200:
      return {"UTF-16LE", CharsetKind::kUtf16Le};
    case 12000:
      return {"UTF-32LE", CharsetKind::kUtf32Le};
    case 20127:
      return {"ASCII", CharsetKind::kOther};
    case 28591:
      return {"ISO-8859-1", CharsetKind::kOther};
    case 54936:
      return {"GB18030", CharsetKind::kOther};
    default:
      break;
  }
  if (codePage >= 1 && codePage <= 65000) {
    return {"CP" + std::to_string(codePage), CharsetKind::kOther};
  }
  return {"", CharsetKind::kOther};
}

namespace {

template <typename Buffer>
bool TranscodeInto(std::string_view input, const Charset& from, const Charset& to, Buffer& out) {
  out.clear();
  if (from.iconvName.empty() || to.iconvName.empty()) return false;
  if (!IsUnicode(from.kind) && !IsUnicode(to.kind)) {
    // Between two legacy sets the failing sequence's length is unknown at the
    // target side, so decode to code points first.
    const Charset wide{"UTF-32LE", CharsetKind::kUtf32Le};
    std::string units;
    return TranscodeInto(input, from, wide, units) && TranscodeInto(units, wide, to, out);
  }
  iconv_t cd = CachedConverter(from.iconvName, to.iconvName);
  if (cd == kNoConverter) return false;
  RunConverter(cd, input, from.kind, to.kind, out);
  return true;
}

}  // namespace

bool Transcode(std::string_view input, const Charset& from, const Charset& to, std::string& out) {
  return TranscodeInto(input, from, to, out);
}

bool Transcode(std::string_view input, const Charset& from, const Charset& to,
               std::vector<std::uint8_t>& out) {
  return TranscodeInto(input, from, to, out);
}

std::string_view CutAtTerminator(std::string_view input, CharsetKind kind) {
  if (input.empty()) return input;
  if (kind == CharsetKind::kUtf8 || kind == CharsetKind::kOther) {
    const void* zero = std::memchr(input.data(), 0, input.size());
    return zero == nullptr
               ? input
               : input.substr(
                     0, static_cast<std::size_t>(static_cast<const char*>(zero) - input.data()));
  }
  const std::size_t unit = kind == CharsetKind::kUtf32Le ? 4 : 2;
  const std::size_t whole = input.size() - input.size() % unit;
  const char* p = input.data();
  for (std::size_t i = 0; i < whole; i += unit) {
    const bool zero =
        unit == 2 ? (p[i] | p[i + 1]) == 0 : (p[i] | p[i + 1] | p[i + 2] | p[i + 3]) == 0;
    if (zero) return input.substr(0, i);
  }
  return input.substr(0, whole);
}

}  // namespace quillet::detail
