#pragma once

// Where the Java set-up writes when the system-wide profile folder cannot be
// written (the program runs without root rights): every "system" operation
// goes to the user's own store instead, so the set-up still reaches the
// user's login sessions.

#include <string>

#include "core/platform/environment_backend.h"

namespace quillet {

class UserScopeBackend final : public EnvironmentBackend {
 public:
  explicit UserScopeBackend(EnvironmentBackend& inner) : inner_(inner) {}

  // A user store without a Path of its own stands for the login PATH: it
  // gives the reference "%PATH%", so that appending Java entries extends the
  // PATH instead of replacing it with the Java folders alone.
  std::optional<std::vector<EnvironmentEntry>> Load(EnvironmentScope scope) override;
  bool Save(EnvironmentScope scope, const std::vector<EnvironmentEntry>& entries) override;
  bool Backup(EnvironmentScope scope) override;
  bool Restore(EnvironmentScope scope) override;
  Text ProcessVariable(const Text& name) override { return inner_.ProcessVariable(name); }
  std::vector<Text> Arguments() override { return inner_.Arguments(); }
  Text CurrentDirectory() override { return inner_.CurrentDirectory(); }
  Text ModuleFile() override { return inner_.ModuleFile(); }
  Text CommandInterpreter() override { return inner_.CommandInterpreter(); }

 private:
  EnvironmentBackend& inner_;
};

// True when the profile script can be created or replaced: its folder is
// writable (the script is replaced by a rename) and an existing script too.
bool ProfileScriptWritable(const std::string& script);

}  // namespace quillet
