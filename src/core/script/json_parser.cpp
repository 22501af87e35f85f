#include "core/script/json_parser.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/script/json_number.h"
#include "core/script/json_scan.h"

namespace quillet::json {

namespace {

// Bytes that end the plain run of a text literal.
constexpr ByteSet kStringStops = [] {
  ByteSet t{};
  t['"'] = t['\''] = t['\\'] = t['\n'] = t['\r'] = true;
  return t;
}();

constexpr ByteSet kBlanks = [] {
  ByteSet t{};
  t[' '] = t['\t'] = t['\n'] = t['\r'] = t['\v'] = t['\f'] = true;
  return t;
}();

constexpr std::uint64_t kEightSpaces = 0x2020202020202020ull;

// One of 64 bits picked by a cheap mix of a member name's length and ends.
std::uint64_t NameBit(std::string_view name) {
  std::size_t mix = name.size() * 31;
  if (!name.empty()) {
    mix += static_cast<unsigned char>(name.front()) * 7u + static_cast<unsigned char>(name.back());
  }
  return std::uint64_t{1} << (mix & 63);
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  // Lone surrogates keep their three-byte form so that nothing is lost in the
  // tree; they become "?" only when a text leaves for code page 936.
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsIdentifierStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

bool IsIdentifierPart(unsigned char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

class Parser {
 public:
  explicit Parser(std::string_view s) : s_(s) {}

  bool ParseDocument(Value& out) {
    SkipBlanks();
    if (!ParseValue(out, 0)) return false;
    SkipBlanks();
    return pos_ == s_.size();
  }

  // A statement: one literal, optionally followed by semicolons.
  bool ParseStatement(Value& out) {
    SkipBlanks();
    if (!ParseValue(out, 0)) return false;
    SkipBlanks();
    while (pos_ < s_.size() && s_[pos_] == ';') {
      ++pos_;
      SkipBlanks();
    }
    return pos_ == s_.size();
  }

  bool ParseStringAt(std::size_t& pos, std::string& out) {
    pos_ = pos;
    if (!ParseString(out)) return false;
    pos = pos_;
    return true;
  }

 private:
  void SkipBlanks() {
    const std::size_t n = s_.size();
    // Pretty-printed text indents with long runs of spaces: they go eight at a time.
    const auto eightSpaces = [&] {
      std::uint64_t word = 0;
      if (n - pos_ >= 8) std::memcpy(&word, s_.data() + pos_, 8);
      return word == kEightSpaces;
    };
    while (pos_ < n) {
      if (eightSpaces()) {
        pos_ += 8;
      } else if (kBlanks[static_cast<unsigned char>(s_[pos_])]) {
        ++pos_;
      } else {
        break;
      }
    }
  }

  bool ParseValue(Value& out, int depth) {
    if (pos_ >= s_.size()) return false;
    switch (s_[pos_]) {
      case '{':
        return ParseObject(out, depth + 1);
      case '[':
        return ParseArray(out, depth + 1);
      case '"':
      case '\'': {
        std::string text;
        if (!ParseString(text)) return false;
        out = Value::Text(std::move(text));
        return true;
      }
      case 't':
        return ParseWord("true", Value::Boolean(true), out);
      case 'f':
        return ParseWord("false", Value::Boolean(false), out);
      case 'n':
        return ParseWord("null", Value::Null(), out);
      default: {
        double number = 0;
        if (!ParseNumber(number)) return false;
        out = Value::Number(number);
        return true;
      }
    }
  }

  bool ParseWord(std::string_view word, Value value, Value& out) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    if (pos_ < s_.size() && IsIdentifierPart(static_cast<unsigned char>(s_[pos_]))) return false;
    out = std::move(value);
    return true;
  }

  bool ParseNumber(double& number) {
    const std::size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    if (pos_ >= s_.size()) return false;
    // Integers of up to 15 digits are exact in a double: they skip the
    // general conversion.
    const std::size_t integerStart = pos_;
    std::uint64_t integer = 0;
    if (s_[pos_] == '0') {
      ++pos_;
    } else if (s_[pos_] >= '1' && s_[pos_] <= '9') {
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
        integer = integer * 10 + static_cast<std::uint64_t>(s_[pos_] - '0');
        ++pos_;
      }
    } else {
      return false;
    }
    const std::size_t integerEnd = pos_;
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      const std::size_t digits = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      if (pos_ == digits) return false;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      const std::size_t digits = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      if (pos_ == digits) return false;
    }
    // "1x" or "01" are no numbers a script would read as one literal.
    if (pos_ < s_.size() &&
        (IsIdentifierPart(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.')) {
      return false;
    }
    if (pos_ == integerEnd && integerEnd - integerStart <= 15) {
      number = static_cast<double>(integer);
      if (start != integerStart) number = -number;
    } else {
      number = DecimalToDouble(s_.substr(start, pos_ - start));
    }
    return true;
  }

  bool ParseHex(std::size_t count, std::uint32_t& value) {
    if (s_.size() - pos_ < count) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const int d = HexDigit(s_[pos_ + i]);
      if (d < 0) return false;
      value = value * 16 + static_cast<std::uint32_t>(d);
    }
    pos_ += count;
    return true;
  }

  bool ParseString(std::string& out) {
    const char quote = s_[pos_++];
    for (;;) {
      const std::size_t run = pos_;
      pos_ = RunEnd(kStringStops, s_.data(), pos_, s_.size());
      out.append(s_.data() + run, pos_ - run);
      if (pos_ >= s_.size()) return false;
      const char c = s_[pos_];
      if (c == quote) {
        ++pos_;
        return true;
      }
      if (c == '\n' || c == '\r') return false;  // a script text cannot span lines
      if (c != '\\') {                           // the other quote
        out += c;
        ++pos_;
        continue;
      }
      ++pos_;
      if (pos_ >= s_.size()) return false;
      const char e = s_[pos_++];
      switch (e) {
        case 'b':
          out += '\b';
          break;
        case 't':
          out += '\t';
          break;
        case 'n':
          out += '\n';
          break;
        case 'f':
          out += '\f';
          break;
        case 'r':
          out += '\r';
          break;
        case 'v':
          out += '\v';
          break;
        case '0':
          out += '\0';
          break;
        case '\r':  // an escaped line break continues the literal
          if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
          break;
        case '\n':
          break;
        case 'x': {
          std::uint32_t v = 0;
          if (!ParseHex(2, v)) return false;
          AppendUtf8(out, v);
          break;
        }
        case 'u': {
          std::uint32_t v = 0;
          if (!ParseHex(4, v)) return false;
          if (v >= 0xD800 && v <= 0xDBFF && s_.substr(pos_, 2) == "\\u") {
            const std::size_t save = pos_;
            pos_ += 2;
            std::uint32_t low = 0;
            if (ParseHex(4, low) && low >= 0xDC00 && low <= 0xDFFF) {
              v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
            } else {
              pos_ = save;
            }
          }
          AppendUtf8(out, v);
          break;
        }
        default:  // any other escaped character stands for itself
          out += e;
          break;
      }
    }
  }

  bool ParseName(std::string& name) {
    if (pos_ >= s_.size()) return false;
    const char c = s_[pos_];
    if (c == '"' || c == '\'') return ParseString(name);
    if (IsIdentifierStart(static_cast<unsigned char>(c))) {
      const std::size_t start = pos_;
      while (pos_ < s_.size() && IsIdentifierPart(static_cast<unsigned char>(s_[pos_]))) ++pos_;
      name.assign(s_.data() + start, pos_ - start);
      return true;
    }
    if (c >= '0' && c <= '9') {  // {1: "a"} names the member "1"
      double number = 0;
      if (!ParseNumber(number)) return false;
      name = NumberToText(number);
      return true;
    }
    return false;
  }

  // Containers collect their pieces on the parser's stacks first, so that
  // each gets one allocation of the right size instead of growing step by step.
  bool ParseObject(Value& out, int depth) {
    if (depth > kMaxDepth) return false;
    ++pos_;
    const std::size_t base = members_.size();
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
    } else {
      for (;;) {
        SkipBlanks();
        Member member;
        if (!ParseName(member.name)) return false;
        SkipBlanks();
        if (pos_ >= s_.size() || s_[pos_] != ':') return false;
        ++pos_;
        SkipBlanks();
        if (!ParseValue(member.value, depth)) return false;
        members_.push_back(std::move(member));
        SkipBlanks();
        if (pos_ >= s_.size()) return false;
        if (s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (s_[pos_] != '}') return false;
        ++pos_;
        break;
      }
    }
    out = Value::NewObject();
    Object& object = out.AsObject();
    object.Reserve(members_.size() - base);
    // A repeated name keeps its first place and takes the last value. Names
    // are nearly always distinct, so a bit per name spares most searches.
    std::uint64_t seen = 0;
    for (std::size_t i = base; i < members_.size(); ++i) {
      Member& m = members_[i];
      const std::uint64_t bit = NameBit(m.name);
      Value* existing = (seen & bit) != 0 ? object.Find(m.name) : nullptr;
      seen |= bit;
      if (existing != nullptr) {
        *existing = std::move(m.value);
      } else {
        object.Append(std::move(m.name)) = std::move(m.value);
      }
    }
    members_.resize(base);
    return true;
  }

  bool ParseArray(Value& out, int depth) {
    if (depth > kMaxDepth) return false;
    ++pos_;
    const std::size_t base = elements_.size();
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
    } else {
      for (;;) {
        SkipBlanks();
        Value element;
        if (!ParseValue(element, depth)) return false;
        elements_.push_back(std::move(element));
        SkipBlanks();
        if (pos_ >= s_.size()) return false;
        if (s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        if (s_[pos_] != ']') return false;
        ++pos_;
        break;
      }
    }
    Array array;
    array.reserve(elements_.size() - base);
    for (std::size_t i = base; i < elements_.size(); ++i) array.push_back(std::move(elements_[i]));
    elements_.resize(base);
    out = Value::NewArray(std::move(array));
    return true;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<Member> members_;
  std::vector<Value> elements_;
};

}  // namespace

bool ParseQuotedAt(std::string_view s, std::size_t& pos, std::string& out) {
  if (pos >= s.size() || (s[pos] != '"' && s[pos] != '\'')) return false;
  return Parser(s).ParseStringAt(pos, out);
}

ParseResult ParseLiteral(std::string_view source) {
  ParseResult r;
  r.ok = Parser(source).ParseDocument(r.value);
  if (!r.ok) r.value = Value();
  return r;
}

ParseResult ParseEvaluated(std::string_view source) {
  ParseResult r = ParseLiteral(source);
  if (!r.ok || r.value.kind() != Kind::kText) return r;
  const std::string content = std::move(r.value.AsText());
  r.value = Value();
  std::size_t first = content.find_first_not_of(" \t\n\r\v\f");
  if (first == std::string::npos) return r;  // eval of nothing: no value, no error
  // At the start of a statement a brace opens a block, never an object.
  if (content[first] == '{') {
    r.ok = false;
    return r;
  }
  r.ok = Parser(content).ParseStatement(r.value);
  if (!r.ok) r.value = Value();
  return r;
}

}  // namespace quillet::json
