#pragma once

// The value tree behind JsonObject. Texts are held as UTF-8 (with lone
// surrogates of \u escapes kept in the same three-byte form), member order is
// the order of creation, and "absent" stands for a script's undefined: an
// array hole, or a member that exists with no value.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillet::json {

// The tree never gets deeper than this, so that writing, copying and freeing it
// stay well inside the stack; parsing and every edit check it.
inline constexpr int kMaxDepth = 512;

enum class Kind : unsigned char { kAbsent, kNull, kBoolean, kNumber, kText, kArray, kObject };

class Value;
struct Member;
using Array = std::vector<Value>;

class Object {
 public:
  const std::vector<Member>& Members() const { return members_; }
  std::vector<Member>& Members() { return members_; }
  std::size_t Size() const;
  void Reserve(std::size_t count);

  // The member's value, or nullptr when there is no member of that name.
  Value* Find(std::string_view name);
  const Value* Find(std::string_view name) const;
  // The member of that name, appended (absent) when missing.
  Value& Emplace(std::string_view name);
  // Appends without looking for a member of the same name (the caller knows).
  Value& Append(std::string name);
  bool Remove(std::string_view name);

 private:
  long IndexOf(std::string_view name) const;

  std::vector<Member> members_;
  // Built on demand for large objects; dropped when members are removed.
  mutable std::unique_ptr<std::unordered_map<std::string, std::size_t>> index_;
};

class Value {
 public:
  Value() = default;
  static Value Null() { return Value(Kind::kNull); }
  static Value Boolean(bool b);
  static Value Number(double n);
  static Value Text(std::string text);
  static Value NewArray(Array elements = {});
  static Value NewObject();

  Value(const Value& other);
  Value(Value&& other) noexcept : kind_(other.kind_), u_(other.u_) { other.kind_ = Kind::kAbsent; }
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept;
  ~Value() { Release(); }

  Kind kind() const { return kind_; }
  bool IsAbsent() const { return kind_ == Kind::kAbsent; }
  // Null or absent: what a script's "== null" finds.
  bool IsNullish() const { return kind_ == Kind::kAbsent || kind_ == Kind::kNull; }

  bool AsBoolean() const { return u_.boolean; }
  double AsNumber() const { return u_.number; }
  const std::string& AsText() const { return *u_.text; }
  std::string& AsText() { return *u_.text; }
  const Array& AsArray() const { return *u_.array; }
  Array& AsArray() { return *u_.array; }
  const Object& AsObject() const { return *u_.object; }
  Object& AsObject() { return *u_.object; }

  // Nesting depth: 0 for a scalar, 1 + the deepest element for a container.
  int Depth() const;

 private:
  explicit Value(Kind kind) : kind_(kind) {}
  void Release() noexcept;

  Kind kind_ = Kind::kAbsent;
  union Payload {
    bool boolean;
    double number;
    std::string* text;
    Array* array;
    Object* object;
  } u_{};
};

struct Member {
  std::string name;
  Value value;
};

// Defined here, where Member is complete: a vector's size and capacity need
// the element type's size.
inline std::size_t Object::Size() const { return members_.size(); }
inline void Object::Reserve(std::size_t count) { members_.reserve(count); }

}  // namespace quillet::json
