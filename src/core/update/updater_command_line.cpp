#include "core/update/updater_command_line.h"

namespace quillet {

std::vector<std::string> UpdaterArguments(const UpdaterWords& words) {
  return {kUpdaterProtocol, words.fileList, words.targetDirectory, words.description,
          words.startProgram};
}

std::optional<UpdaterWords> ParseUpdaterArguments(const std::vector<std::string>& arguments) {
  if (arguments.size() != 5 || arguments[0] != kUpdaterProtocol) return std::nullopt;
  return UpdaterWords{arguments[1], arguments[2], arguments[3], arguments[4]};
}

}  // namespace quillet
