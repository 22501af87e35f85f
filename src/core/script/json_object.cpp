#include "core/script/json_object.h"

#include <string>

#include "core/script/json_gbk.h"
#include "core/script/json_merge.h"
#include "core/script/json_number.h"
#include "core/script/json_parser.h"
#include "core/script/json_path.h"
#include "core/script/json_store.h"
#include "core/script/json_writer.h"

namespace quillet {

using json::Kind;
using json::Lookup;
using json::Path;
using json::Value;

namespace {

// Joins leaf values before splitting them again, so a value that holds this
// text comes back in pieces and an empty last value disappears; callers of the
// original object saw exactly that.
constexpr std::string_view kNodeSeparator = "[2020年7月20日20时0分0秒]";

bool IsBlank(std::string_view s) {
  return s.find_first_not_of(" \t\n\r\v\f") == std::string_view::npos;
}

// The argument of a script's eval(): nothing at all evaluates to no value.
json::ParseResult Evaluate(std::string_view utf8) {
  if (IsBlank(utf8)) {
    json::ParseResult r;
    r.ok = true;
    return r;
  }
  return json::ParseEvaluated(utf8);
}

// AddMember's and SetMember's value: a script literal, or else the value put
// in single quotes as it is (so a quote or line break in it fails, and
// backslash sequences are read as escapes).
json::ParseResult MemberValue(std::string_view value, bool isLiteral) {
  const std::string utf8 = json::Utf8FromAnsi(value);
  if (isLiteral) return json::ParseLiteral(utf8);
  return json::ParseLiteral("'" + utf8 + "'");
}

bool WriteSucceeded(json::WriteResult r) { return r != json::WriteResult::kFailed; }

bool FitsDepth(const Path& path, const Value& value, int extra = 0) {
  return path.steps.size() + static_cast<std::size_t>(value.Depth() + extra) <=
         static_cast<std::size_t>(json::kMaxDepth);
}

void CollectLeaves(const Value& value, bool recursive, std::vector<const Value*>& out) {
  auto visit = [&](const Value& v) {
    switch (v.kind()) {
      case Kind::kText:
      case Kind::kNumber:
      case Kind::kBoolean:
        out.push_back(&v);
        break;
      case Kind::kArray:
      case Kind::kObject:
        if (recursive) CollectLeaves(v, recursive, out);
        break;
      default:
        break;
    }
  };
  if (value.kind() == Kind::kObject) {
    for (const json::Member& m : value.AsObject().Members()) visit(m.value);
  } else if (value.kind() == Kind::kArray) {
    for (const Value& v : value.AsArray()) visit(v);
  }
}

}  // namespace

JsonObject::JsonObject() : JsonObject(Variant::kFull) {}

JsonObject::JsonObject(Variant variant) : variant_(variant) { Initialize(); }

void JsonObject::Destroy() { store_.reset(); }

JsonObject JsonObject::Copy() const { return *this; }

void JsonObject::Initialize() { store_ = std::make_shared<JsonStore>(); }

std::shared_ptr<JsonStore> JsonObject::GetEngine() const { return store_; }

bool JsonObject::Parse(std::string_view text, bool asLiteral) {
  // Only the full variant has the literal mode.
  return ParseText(text, asLiteral && variant_ == Variant::kFull);
}

bool JsonObject::ParseText(std::string_view text, bool asLiteral) {
  if (!store_) return false;
  store_ = std::make_shared<JsonStore>();
  Value& root = store_->root;
  root = Value::Null();
  std::string storage;
  const std::string_view utf8 = json::Utf8View(text, storage);
  json::ParseResult r = asLiteral ? json::ParseLiteral(utf8) : Evaluate(utf8);
  if (r.ok) root = std::move(r.value);
  return !root.IsNullish();
}

bool JsonObject::Clear() {
  if (!store_) return false;
  store_->root = Value::NewObject();
  return true;
}

Text JsonObject::ToText() const {
  if (!store_) return Text();
  std::string out;
  if (!json::Stringify(store_->root, out)) return Text();
  return json::AnsiFromUtf8(std::move(out), true);
}

Path JsonObject::FullPath(std::string_view path, bool* found) const {
  const std::string utf8 = json::Utf8FromAnsi(path);
  Lookup lookup;
  auto nonNull = [&](const Path& p) {
    if (!store_ || !p.ok) return false;
    json::ReadPath(store_->root, p, lookup);
    return !lookup.failed && lookup.value != nullptr && !lookup.value->IsNullish();
  };
  if (utf8.compare(0, json::kRootVariable.size(), json::kRootVariable) == 0) {
    Path direct = json::ParsePath(utf8);
    if (nonNull(direct)) {
      if (found != nullptr) *found = true;
      return direct;
    }
  }
  Path qualified = json::ParsePath(json::QualifyPath(utf8));
  const bool isFound = nonNull(qualified);
  if (found != nullptr) *found = isFound;
  return qualified;
}

void JsonObject::Read(std::string_view path, Lookup& out) const {
  out.failed = true;
  out.value = nullptr;
  if (!store_) return;
  json::ReadPath(store_->root, FullPath(path), out);
}

bool JsonObject::ResolvePath(Text& path) const {
  if (!store_) return false;
  bool found = false;
  FullPath(path, &found);
  if (path.compare(0, json::kRootVariable.size(), json::kRootVariable) == 0) {
    // Left alone only when it names a value as it stands.
    Lookup lookup;
    const Path direct = json::ParsePath(json::Utf8FromAnsi(path));
    if (direct.ok) {
      json::ReadPath(store_->root, direct, lookup);
      if (!lookup.failed && lookup.value != nullptr && !lookup.value->IsNullish()) return true;
    }
  }
  path = json::QualifyPath(path);
  return found;
}

bool JsonObject::Exists(std::string_view path) const {
  bool found = false;
  FullPath(path, &found);
  return found;
}

bool JsonObject::SetValue(std::string_view path, std::string_view value, bool asObject) {
  if (!store_) return false;
  bool found = false;
  const Path full = FullPath(path, &found);
  Value& root = store_->root;

  if (!asObject) {
    Value text = Value::Text(json::BackslashesToPlaceholders(json::Utf8FromAnsi(value)));
    const bool truth = json::ToBoolean(text);
    return WriteSucceeded(json::WritePath(root, full, std::move(text))) && truth;
  }

  Lookup lookup;
  json::ReadPath(root, full, lookup);
  const bool targetIsObject = found && lookup.value->kind() == Kind::kObject;
  if (found && (variant_ == Variant::kReply || targetIsObject)) {
    const std::string source = value.empty() ? std::string("{}") : json::Utf8FromAnsi(value);
    json::ParseResult merged = json::ParseLiteral(source);
    if (!merged.ok || !FitsDepth(full, merged.value)) return false;
    Value* slot = json::SlotAt(root, full);
    if (slot == nullptr) return json::ToBoolean(*lookup.value);  // e.g. a length: stays
    json::Extend(*slot, merged.value);
    return json::ToBoolean(*slot);
  }

  json::ParseResult evaluated = Evaluate(json::Utf8FromAnsi(value));
  if (!evaluated.ok) return false;
  const bool truth = json::ToBoolean(evaluated.value);
  return WriteSucceeded(json::WritePath(root, full, std::move(evaluated.value))) && truth;
}

bool JsonObject::SetJson(std::string_view path, std::string_view jsonText) {
  if (!store_) return false;
  const Path full = FullPath(path);
  json::ParseResult evaluated = Evaluate(json::Utf8FromAnsi(jsonText));
  if (!evaluated.ok) return false;
  const bool truth = json::ToBoolean(evaluated.value);
  return WriteSucceeded(json::WritePath(store_->root, full, std::move(evaluated.value))) && truth;
}

int JsonObject::GetType(std::string_view path) const {
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed) return -1;
  if (lookup.value == nullptr) return 0;
  switch (lookup.value->kind()) {
    case Kind::kAbsent:
    case Kind::kNull:
      return 0;
    case Kind::kBoolean:
      return 1;
    case Kind::kNumber:
      return 2;
    case Kind::kObject:
      return 4;
    case Kind::kArray:
      return 5;
    case Kind::kText:
      return 6;
  }
  return -1;
}

Text JsonObject::GetText(std::string_view path, bool asJson) const {
  if (asJson) return GetJsonText(path);
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed || lookup.value == nullptr) return Text();
  return json::AnsiFromUtf8(json::ToDisplayText(*lookup.value), true);
}

Text JsonObject::JsonTextOf(std::string_view path, bool withIndex, long index) const {
  if (!store_) return Text();
  Path full = FullPath(path);
  if (withIndex) full.steps.push_back(json::PathStep{std::to_string(index)});
  Lookup lookup;
  json::ReadPath(store_->root, full, lookup);
  if (lookup.failed || lookup.value == nullptr) return Text();
  std::string out;
  if (!json::Stringify(*lookup.value, out)) return Text();
  return json::AnsiFromUtf8(std::move(out), true);
}

Text JsonObject::GetJsonText(std::string_view path) const { return JsonTextOf(path, false, 0); }

long JsonObject::GetNames(std::vector<Text>& names, std::string_view path) const {
  names.clear();
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed || lookup.value == nullptr || lookup.value->kind() != Kind::kObject) return 0;
  // Names travel as one CR LF-joined text, so a name holding CR LF splits and
  // an empty last name is dropped, as the original listing did.
  Text joined;
  bool first = true;
  for (const json::Member& m : lookup.value->AsObject().Members()) {
    if (!first) joined += "\r\n";
    first = false;
    joined += json::AnsiFromUtf8(m.name, true);
  }
  names = TextSplit(joined, "\r\n");
  return static_cast<long>(names.size());
}

long JsonObject::GetCount(std::string_view path) const {
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed || lookup.value == nullptr || lookup.value->kind() != Kind::kArray) return 0;
  return static_cast<long>(lookup.value->AsArray().size());
}

JsonObject JsonObject::GetObject(std::string_view path) const {
  JsonObject copy(variant_);
  copy.ParseText(JsonTextOf(path, false, 0), false);
  return copy;
}

bool JsonObject::AddMember(std::string_view value, std::string_view path, bool isLiteral,
                           bool atFront) {
  return AppendMember(value, path, isLiteral, atFront);
}

bool JsonObject::AppendMember(std::string_view value, std::string_view path, bool isLiteral,
                              bool atFront) {
  if (!store_) return false;
  const bool pushesNothing = isLiteral && IsBlank(json::Utf8FromAnsi(value));
  json::ParseResult member;
  if (!pushesNothing) {
    member = MemberValue(value, isLiteral);
    if (!member.ok) return false;
  }
  const Path full = FullPath(path);
  Lookup lookup;
  json::ReadPath(store_->root, full, lookup);
  if (lookup.failed || !FitsDepth(full, member.value, 1)) return false;
  if (lookup.value == nullptr || lookup.value->kind() != Kind::kArray) {
    if (json::WritePath(store_->root, full, Value::NewArray()) != json::WriteResult::kStored) {
      return false;
    }
  }
  Value* slot = json::SlotAt(store_->root, full);
  if (slot == nullptr || slot->kind() != Kind::kArray) return false;
  json::Array& array = slot->AsArray();
  if (!pushesNothing) {
    if (atFront) {
      array.insert(array.begin(), std::move(member.value));
    } else {
      array.push_back(std::move(member.value));
    }
  }
  return !array.empty();
}

JsonObject JsonObject::GetMemberObject(long index, std::string_view path) const {
  JsonObject copy(variant_);
  copy.ParseText(JsonTextOf(path, true, index), false);
  return copy;
}

Text JsonObject::GetMemberText(long index, std::string_view path, bool asJson) const {
  if (asJson) return JsonTextOf(path, true, index);
  if (!store_) return Text();
  Path full = FullPath(path);
  full.steps.push_back(json::PathStep{std::to_string(index)});
  Lookup lookup;
  json::ReadPath(store_->root, full, lookup);
  if (lookup.failed || lookup.value == nullptr || lookup.value->kind() != Kind::kText) {
    return Text();
  }
  return json::AnsiFromUtf8(lookup.value->AsText(), true);
}

bool JsonObject::SetMember(long index, std::string_view path, std::string_view value,
                           bool isLiteral) {
  if (!store_) return false;
  json::ParseResult member = MemberValue(value, isLiteral);
  if (!member.ok) return false;
  Path full = FullPath(path);
  full.steps.push_back(json::PathStep{std::to_string(index)});
  const bool truth = json::ToBoolean(member.value);
  return WriteSucceeded(json::WritePath(store_->root, full, std::move(member.value))) && truth;
}

bool JsonObject::RemoveMember(long index, std::string_view path) {
  if (!store_) return false;
  const Path full = FullPath(path);
  Value* slot = nullptr;
  Lookup lookup;
  json::ReadPath(store_->root, full, lookup);
  if (lookup.failed || lookup.value == nullptr || lookup.value->kind() != Kind::kArray) {
    return false;
  }
  slot = json::SlotAt(store_->root, full);
  if (slot == nullptr || slot->kind() != Kind::kArray) return false;
  json::Array& array = slot->AsArray();
  const long size = static_cast<long>(array.size());
  long start = index < 0 ? size + index : index;
  if (start < 0) start = 0;  // a script's splice clamps a start before the first element
  if (start >= size) return false;
  array.erase(array.begin() + start);
  return true;
}

bool JsonObject::Delete(std::string_view path) {
  if (!store_) return false;
  return json::DeletePath(store_->root, FullPath(path));
}

bool JsonObject::SetNumber(std::string_view path, double number) {
  if (!store_) return false;
  // The number travels as its decimal text, which has no negative zero.
  if (number == 0) number = 0;
  const Path full = FullPath(path);
  return WriteSucceeded(json::WritePath(store_->root, full, Value::Number(number))) && number != 0;
}

double JsonObject::GetNumber(std::string_view path) const {
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed || lookup.value == nullptr) return 0;
  const Value& v = *lookup.value;
  switch (v.kind()) {
    case Kind::kNumber:
      return v.AsNumber();
    case Kind::kBoolean:
      return v.AsBoolean() ? -1 : 0;
    case Kind::kText: {
      double number = 0;
      return json::TextToNumber(v.AsText(), number) ? number : 0;
    }
    default:
      return 0;
  }
}

long JsonObject::GetNodeValues(std::vector<Text>& values, std::string_view path,
                               bool recursive) const {
  values.clear();
  Lookup lookup;
  Read(path, lookup);
  if (lookup.failed || lookup.value == nullptr) return 0;
  std::vector<const Value*> leaves;
  CollectLeaves(*lookup.value, recursive, leaves);
  const Text separator = Gbk(kNodeSeparator);
  Text joined;
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    if (i > 0) joined += separator;
    joined += json::AnsiFromUtf8(json::ToDisplayText(*leaves[i]), false);
  }
  values = TextSplit(joined, separator);
  return static_cast<long>(values.size());
}

}  // namespace quillet
