#pragma once

#include <optional>
#include <vector>

#include "core/text/text.h"

namespace quillet {

// The environment variables the system keeps for every session ("system")
// and for the current user ("user"), as opposed to the running program's own
// environment block.
enum class EnvironmentScope { kSystem, kUser };

// One stored variable, its value in the stores' own form: "%NAME%"
// references unexpanded, ";" between list elements, "\" in paths.
struct EnvironmentEntry {
  Text name;
  Text value;
};

class EnvironmentBackend {
 public:
  virtual ~EnvironmentBackend() = default;
  // The scope's variables in their stored order; nothing when the store
  // cannot be opened.
  virtual std::optional<std::vector<EnvironmentEntry>> Load(EnvironmentScope scope) = 0;
  // Replaces the scope's variables; false when the store refuses (no rights,
  // a name or value it cannot hold). A failed save leaves the store as it was.
  virtual bool Save(EnvironmentScope scope, const std::vector<EnvironmentEntry>& entries) = 0;
  // Keeps a copy of the scope's current store that Restore brings back.
  virtual bool Backup(EnvironmentScope scope) = 0;
  virtual bool Restore(EnvironmentScope scope) = 0;

  // The running program's own variable; empty when unset.
  virtual Text ProcessVariable(const Text& name) = 0;
  // The program's command-line arguments without the program itself.
  virtual std::vector<Text> Arguments() = 0;
  // Empty on failure.
  virtual Text CurrentDirectory() = 0;
  // Full path of the program's executable file.
  virtual Text ModuleFile() = 0;
  // The command interpreter child commands run through.
  virtual Text CommandInterpreter() = 0;
};

}  // namespace quillet
