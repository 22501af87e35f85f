#include "core/script/json_value.h"

#include <algorithm>

namespace quillet::json {

namespace {

// Small objects are searched member by member; beyond this a hash index pays.
constexpr std::size_t kIndexThreshold = 64;

}  // namespace

long Object::IndexOf(std::string_view name) const {
  if (members_.size() < kIndexThreshold) {
    for (std::size_t i = 0; i < members_.size(); ++i) {
      if (members_[i].name == name) return static_cast<long>(i);
    }
    return -1;
  }
  if (!index_) {
    index_ = std::make_unique<std::unordered_map<std::string, std::size_t>>();
    index_->reserve(members_.size());
    for (std::size_t i = 0; i < members_.size(); ++i) index_->emplace(members_[i].name, i);
  }
  const auto it = index_->find(std::string(name));
  return it == index_->end() ? -1 : static_cast<long>(it->second);
}

Value* Object::Find(std::string_view name) {
  const long i = IndexOf(name);
  return i < 0 ? nullptr : &members_[static_cast<std::size_t>(i)].value;
}

const Value* Object::Find(std::string_view name) const {
  const long i = IndexOf(name);
  return i < 0 ? nullptr : &members_[static_cast<std::size_t>(i)].value;
}

Value& Object::Emplace(std::string_view name) {
  if (Value* found = Find(name)) return *found;
  return Append(std::string(name));
}

Value& Object::Append(std::string name) {
  if (index_) index_->emplace(name, members_.size());
  members_.push_back(Member{std::move(name), Value()});
  return members_.back().value;
}

bool Object::Remove(std::string_view name) {
  const long i = IndexOf(name);
  if (i < 0) return false;
  members_.erase(members_.begin() + i);
  index_.reset();
  return true;
}

Value Value::Boolean(bool b) {
  Value v(Kind::kBoolean);
  v.u_.boolean = b;
  return v;
}

Value Value::Number(double n) {
  Value v(Kind::kNumber);
  v.u_.number = n;
  return v;
}

Value Value::Text(std::string text) {
  Value v(Kind::kText);
  v.u_.text = new std::string(std::move(text));
  return v;
}

Value Value::NewArray(Array elements) {
  Value v(Kind::kArray);
  v.u_.array = new Array(std::move(elements));
  return v;
}

Value Value::NewObject() {
  Value v(Kind::kObject);
  v.u_.object = new Object();
  return v;
}

Value::Value(const Value& other) : kind_(other.kind_), u_(other.u_) {
  switch (kind_) {
    case Kind::kText:
      u_.text = new std::string(*other.u_.text);
      break;
    case Kind::kArray:
      u_.array = new Array(*other.u_.array);
      break;
    case Kind::kObject: {
      u_.object = new Object();
      u_.object->Members() = other.u_.object->Members();
      break;
    }
    default:
      break;
  }
}

Value& Value::operator=(const Value& other) {
  if (this != &other) *this = Value(other);
  return *this;
}

Value& Value::operator=(Value&& other) noexcept {
  if (this != &other) {
    // The source may live inside this value (a member replacing its parent):
    // take it out before releasing.
    Value taken;
    taken.kind_ = other.kind_;
    taken.u_ = other.u_;
    other.kind_ = Kind::kAbsent;
    Release();
    kind_ = taken.kind_;
    u_ = taken.u_;
    taken.kind_ = Kind::kAbsent;
  }
  return *this;
}

void Value::Release() noexcept {
  switch (kind_) {
    case Kind::kText:
      delete u_.text;
      break;
    case Kind::kArray:
      delete u_.array;
      break;
    case Kind::kObject:
      delete u_.object;
      break;
    default:
      break;
  }
  kind_ = Kind::kAbsent;
}

int Value::Depth() const {
  int deepest = 0;
  if (kind_ == Kind::kArray) {
    for (const Value& v : *u_.array) deepest = std::max(deepest, v.Depth());
    return deepest + 1;
  }
  if (kind_ == Kind::kObject) {
    for (const Member& m : u_.object->Members()) deepest = std::max(deepest, m.value.Depth());
    return deepest + 1;
  }
  return 0;
}

}  // namespace quillet::json
