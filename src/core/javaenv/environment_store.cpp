#include "core/javaenv/environment_store.h"

#include <algorithm>

namespace quillet {
namespace {

bool SameName(const Text& a, const Text& b) { return TextUpper(a) == TextUpper(b); }

std::vector<EnvironmentEntry>::iterator FindEntry(std::vector<EnvironmentEntry>& entries,
                                                  const Text& name) {
  return std::find_if(entries.begin(), entries.end(),
                      [&](const EnvironmentEntry& e) { return SameName(e.name, name); });
}

}  // namespace

Text EnvironmentStore::Read(const Text& name, EnvironmentScope scope) {
  if (auto entries = backend_->Load(scope)) {
    auto it = FindEntry(*entries, name);
    if (it != entries->end() && !it->value.empty()) return it->value;
  }
  return backend_->ProcessVariable(name);
}

bool EnvironmentStore::Write(const Text& name, const Text& value, EnvironmentScope scope) {
  if (name.empty()) return false;
  auto entries = backend_->Load(scope);
  if (!entries) return false;
  auto it = FindEntry(*entries, name);
  if (it != entries->end()) {
    it->value = value;
  } else {
    entries->push_back({name, value});
  }
  return backend_->Save(scope, *entries);
}

bool EnvironmentStore::Remove(const Text& name, EnvironmentScope scope) {
  auto entries = backend_->Load(scope);
  if (!entries) return false;
  auto it = FindEntry(*entries, name);
  if (it == entries->end()) return false;
  entries->erase(it);
  return backend_->Save(scope, *entries);
}

long EnvironmentStore::Count(EnvironmentScope scope) {
  auto entries = backend_->Load(scope);
  return entries ? static_cast<long>(entries->size()) : -1;
}

long EnvironmentStore::List(std::vector<Text>& out, EnvironmentScope scope) {
  auto entries = backend_->Load(scope);
  if (!entries) return -1;
  for (const EnvironmentEntry& e : *entries) {
    out.push_back(e.name + "=" + e.value);
    pump_->PumpPending();
  }
  return static_cast<long>(out.size());
}

long EnvironmentStore::Arguments(std::vector<Text>& out) {
  out = backend_->Arguments();
  return static_cast<long>(out.size());
}

Text EnvironmentStore::CurrentDirectory() { return backend_->CurrentDirectory(); }

Text EnvironmentStore::ModuleFile(bool withPath) {
  Text path = backend_->ModuleFile();
  if (withPath) return path;
  const auto slash = path.rfind('/');
  return slash == Text::npos ? path : path.substr(slash + 1);
}

Text EnvironmentStore::CommandInterpreter() { return backend_->CommandInterpreter(); }

bool EnvironmentStore::Backup(EnvironmentScope scope) { return backend_->Backup(scope); }

bool EnvironmentStore::Restore(EnvironmentScope scope) { return backend_->Restore(scope); }

Text ValueFromListing(const std::vector<Text>& entries, const Text& name) {
  for (const Text& entry : entries) {
    const auto equals = entry.find('=');
    if (equals != Text::npos && SameName(entry.substr(0, equals), name)) {
      return entry.substr(equals + 1);
    }
  }
  return {};
}

}  // namespace quillet
