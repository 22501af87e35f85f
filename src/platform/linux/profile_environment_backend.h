#pragma once

#include <string>

#include "core/platform/environment_backend.h"

namespace quillet {

// The system's environment stores as login shells see them. The system scope
// is a profile script of its own (by default /etc/profile.d/quillet-java.sh,
// which every login shell sources); the user scope is a marked block in the
// user's ~/.profile, the rest of that file left alone. Both are written
// atomically, with the previous file kept beside it as "<file>.bak" by
// Backup. Texts cross in code page 936; the files are UTF-8.
//
// The system's Path is the PATH that login sessions are given before this
// script runs, so while the script holds no Path of its own, reading gives
// the reference "%PATH%" to it: a set-up that appends to it extends the
// login PATH instead of replacing it.
class ProfileEnvironmentBackend final : public EnvironmentBackend {
 public:
  struct Locations {
    std::string systemScript = "/etc/profile.d/quillet-java.sh";
    std::string userProfile;  // empty: $HOME/.profile
  };
  ProfileEnvironmentBackend();
  explicit ProfileEnvironmentBackend(Locations locations);

  std::optional<std::vector<EnvironmentEntry>> Load(EnvironmentScope scope) override;
  bool Save(EnvironmentScope scope, const std::vector<EnvironmentEntry>& entries) override;
  bool Backup(EnvironmentScope scope) override;
  bool Restore(EnvironmentScope scope) override;
  Text ProcessVariable(const Text& name) override;
  std::vector<Text> Arguments() override;
  Text CurrentDirectory() override;
  Text ModuleFile() override;
  Text CommandInterpreter() override;

  const std::string& FileOf(EnvironmentScope scope) const;

 private:
  Locations locations_;
};

}  // namespace quillet
