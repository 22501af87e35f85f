#include "core/script/json_path.h"

#include "core/script/json_parser.h"

namespace quillet::json {

namespace {

// A script would make a sparse array; our arrays are dense, so a far-off index
// would cost memory for nothing. Beyond this gap the write fails.
constexpr std::size_t kMaxArrayGap = std::size_t{1} << 20;

bool IsIdentifierStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

bool IsIdentifierPart(unsigned char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

void SkipBlanks(std::string_view s, std::size_t& pos) {
  while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t')) ++pos;
}

bool ReadIdentifier(std::string_view s, std::size_t& pos, std::string& out) {
  if (pos >= s.size() || !IsIdentifierStart(static_cast<unsigned char>(s[pos]))) return false;
  const std::size_t start = pos;
  while (pos < s.size() && IsIdentifierPart(static_cast<unsigned char>(s[pos]))) ++pos;
  out.assign(s.data() + start, pos - start);
  return true;
}

// [ 12 ], [-1], ['x'], ["x"]
bool ReadBracket(std::string_view s, std::size_t& pos, std::string& out) {
  ++pos;
  SkipBlanks(s, pos);
  if (pos >= s.size()) return false;
  if (s[pos] == '"' || s[pos] == '\'') {
    if (!ParseQuotedAt(s, pos, out)) return false;
  } else {
    const std::size_t start = pos;
    if (s[pos] == '-') ++pos;
    const std::size_t digits = pos;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') ++pos;
    const std::size_t count = pos - digits;
    if (count == 0 || (count > 1 && s[digits] == '0')) return false;
    out.assign(s.data() + start, pos - start);
    if (out == "-0") out = "0";
  }
  SkipBlanks(s, pos);
  if (pos >= s.size() || s[pos] != ']') return false;
  ++pos;
  return true;
}

std::size_t Utf16Length(const std::string& utf8) {
  std::size_t units = 0;
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c & 0xC0) != 0x80) ++units;
    if (c >= 0xF0) ++units;  // a supplementary character is two units
  }
  return units;
}

// One step of a read. False on a script error.
bool Step(const Value& current, const std::string& name, Lookup& out) {
  switch (current.kind()) {
    case Kind::kAbsent:
    case Kind::kNull:
      return false;
    case Kind::kObject:
      out.value = current.AsObject().Find(name);
      return true;
    case Kind::kArray: {
      std::size_t index = 0;
      const Array& array = current.AsArray();
      if (ArrayIndexOf(name, index)) {
        out.value = index < array.size() ? &array[index] : nullptr;
      } else if (name == "length") {
        out.computed = Value::Number(static_cast<double>(array.size()));
        out.value = &out.computed;
      } else {
        out.value = nullptr;
      }
      return true;
    }
    case Kind::kText:
      if (name == "length") {
        out.computed = Value::Number(static_cast<double>(Utf16Length(current.AsText())));
        out.value = &out.computed;
      } else {
        out.value = nullptr;
      }
      return true;
    default:
      out.value = nullptr;
      return true;
  }
}

enum class ParentResult { kFailed, kIgnored, kFound };

// Walks to the container that holds the last step.
ParentResult FindParent(Value& root, const Path& path, Value*& parent) {
  Value* current = &root;
  for (std::size_t i = 0; i + 1 < path.steps.size(); ++i) {
    const std::string& name = path.steps[i].name;
    switch (current->kind()) {
      case Kind::kAbsent:
      case Kind::kNull:
        return ParentResult::kFailed;
      case Kind::kObject:
        current = current->AsObject().Find(name);
        break;
      case Kind::kArray: {
        std::size_t index = 0;
        Array& array = current->AsArray();
        if (ArrayIndexOf(name, index) && index < array.size()) {
          current = &array[index];
        } else if (name == "length" && i + 2 == path.steps.size()) {
          return ParentResult::kIgnored;  // a member of a number
        } else {
          current = nullptr;
        }
        break;
      }
      case Kind::kText:
        if (name == "length" && i + 2 == path.steps.size()) return ParentResult::kIgnored;
        current = nullptr;
        break;
      default:
        current = nullptr;  // a member of a primitive is missing
        break;
    }
    if (current == nullptr) return ParentResult::kFailed;
  }
  if (current->IsNullish()) return ParentResult::kFailed;
  parent = current;
  return ParentResult::kFound;
}

}  // namespace

bool ArrayIndexOf(std::string_view name, std::size_t& index) {
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return false;
  std::size_t v = 0;
  for (const char c : name) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::size_t>(c - '0');
  }
  if (v >= 4294967295u) return false;
  index = v;
  return true;
}

std::string QualifyPath(std::string_view path) {
  std::string full(kRootVariable);
  if (path.empty()) return full;
  if (path[0] != '[') full += '.';
  full += path;
  return full;
}

Path ParsePath(std::string_view s) {
  Path path;
  std::size_t pos = 0;
  SkipBlanks(s, pos);
  std::string head;
  if (!ReadIdentifier(s, pos, head) || head != kRootVariable) return path;
  for (;;) {
    SkipBlanks(s, pos);
    if (pos >= s.size()) break;
    PathStep step;
    if (s[pos] == '.') {
      ++pos;
      SkipBlanks(s, pos);
      if (!ReadIdentifier(s, pos, step.name)) return path;
    } else if (s[pos] == '[') {
      if (!ReadBracket(s, pos, step.name)) return path;
    } else {
      return path;
    }
    path.steps.push_back(std::move(step));
  }
  path.ok = true;
  return path;
}

void ReadPath(const Value& root, const Path& path, Lookup& out) {
  out.failed = true;
  out.value = nullptr;
  if (!path.ok) return;
  const Value* current = &root;
  for (const PathStep& step : path.steps) {
    if (current == nullptr) return;  // a member of a missing value
    if (current == &out.computed) {
      // A member of a length (a number) reads as missing.
      out.value = nullptr;
      current = nullptr;
      continue;
    }
    if (!Step(*current, step.name, out)) return;
    current = out.value;
  }
  out.value = current;
  out.failed = false;
}

Value* SlotAt(Value& root, const Path& path) {
  if (!path.ok) return nullptr;
  if (path.steps.empty()) return &root;
  Value* parent = nullptr;
  if (FindParent(root, path, parent) != ParentResult::kFound) return nullptr;
  const std::string& name = path.steps.back().name;
  if (parent->kind() == Kind::kObject) return &parent->AsObject().Emplace(name);
  if (parent->kind() == Kind::kArray) {
    std::size_t index = 0;
    Array& array = parent->AsArray();
    if (!ArrayIndexOf(name, index)) return nullptr;
    if (index >= array.size()) {
      if (index - array.size() > kMaxArrayGap) return nullptr;
      array.resize(index + 1);
    }
    return &array[index];
  }
  return nullptr;
}

WriteResult WritePath(Value& root, const Path& path, Value value) {
  if (!path.ok) return WriteResult::kFailed;
  if (path.steps.size() + static_cast<std::size_t>(value.Depth()) >
      static_cast<std::size_t>(kMaxDepth)) {
    return WriteResult::kFailed;
  }
  if (path.steps.empty()) {
    root = std::move(value);
    return WriteResult::kStored;
  }
  Value* parent = nullptr;
  switch (FindParent(root, path, parent)) {
    case ParentResult::kFailed:
      return WriteResult::kFailed;
    case ParentResult::kIgnored:
      return WriteResult::kIgnored;
    case ParentResult::kFound:
      break;
  }
  const std::string& name = path.steps.back().name;
  if (parent->kind() == Kind::kArray) {
    std::size_t index = 0;
    if (!ArrayIndexOf(name, index)) {
      // A named property of an array: a script keeps it, but no JSON text or
      // listing ever shows it. "length" would truncate; we leave it alone.
      return name == "length" ? WriteResult::kFailed : WriteResult::kIgnored;
    }
  } else if (parent->kind() != Kind::kObject) {
    return WriteResult::kIgnored;
  }
  Value* slot = SlotAt(root, path);
  if (slot == nullptr) return WriteResult::kFailed;
  *slot = std::move(value);
  return WriteResult::kStored;
}

bool DeletePath(Value& root, const Path& path) {
  if (!path.ok || path.steps.empty()) return false;
  Value* parent = nullptr;
  switch (FindParent(root, path, parent)) {
    case ParentResult::kFailed:
      return false;
    case ParentResult::kIgnored:
      return true;
    case ParentResult::kFound:
      break;
  }
  const std::string& name = path.steps.back().name;
  if (parent->kind() == Kind::kObject) {
    parent->AsObject().Remove(name);
    return true;
  }
  if (parent->kind() == Kind::kArray) {
    std::size_t index = 0;
    Array& array = parent->AsArray();
    if (ArrayIndexOf(name, index)) {
      if (index < array.size()) array[index] = Value();
      return true;
    }
    return name != "length";
  }
  return true;
}

}  // namespace quillet::json
