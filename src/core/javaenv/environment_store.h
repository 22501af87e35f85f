#pragma once

#include <vector>

#include "core/platform/environment_backend.h"
#include "core/platform/event_pump.h"
#include "core/text/text.h"

namespace quillet {

// The environment variables kept by the system, for the machine ("system",
// the default scope) or the current user, plus a few facts about the running
// program. Holds nothing but its services; every operation asks the backend
// afresh.
class EnvironmentStore {
 public:
  EnvironmentStore(EnvironmentBackend& backend, EventPump& pump)
      : backend_(&backend), pump_(&pump) {}

  // Releases nothing: the store holds no resources between operations.
  void Destroy() {}
  // A new store over the same services.
  EnvironmentStore Copy() const { return *this; }

  // The stored value; when that is empty, the program's own variable; empty
  // when both give nothing.
  Text Read(const Text& name, EnvironmentScope scope = EnvironmentScope::kSystem);
  // Sets the variable (a name is matched without regard to ASCII letter
  // case, as the system does, and keeps its stored spelling).
  bool Write(const Text& name, const Text& value,
             EnvironmentScope scope = EnvironmentScope::kSystem);
  // True when the variable was there and is gone.
  bool Remove(const Text& name, EnvironmentScope scope = EnvironmentScope::kSystem);
  // Number of variables; -1 when the store cannot be opened.
  long Count(EnvironmentScope scope = EnvironmentScope::kSystem);
  // Appends "NAME=VALUE" for each variable, pumping events after each;
  // returns the list's size, -1 when the store cannot be opened.
  long List(std::vector<Text>& out, EnvironmentScope scope = EnvironmentScope::kSystem);
  // The program's arguments without the program; the list is emptied first.
  long Arguments(std::vector<Text>& out);
  Text CurrentDirectory();
  // The executable's full path with `withPath`, otherwise its file name.
  Text ModuleFile(bool withPath);
  Text CommandInterpreter();

  // A copy of the scope's store that Restore brings back (the undo of a
  // set-up).
  bool Backup(EnvironmentScope scope = EnvironmentScope::kSystem);
  bool Restore(EnvironmentScope scope = EnvironmentScope::kSystem);

 private:
  EnvironmentBackend* backend_;
  EventPump* pump_;
};

// "NAME=VALUE" entries: the value of the first entry whose name matches
// `name` without regard to ASCII letter case; empty when none does.
Text ValueFromListing(const std::vector<Text>& entries, const Text& name);

}  // namespace quillet
