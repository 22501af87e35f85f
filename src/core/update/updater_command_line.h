#pragma once

// The updater's command line: five words, each passed as an argument of its
// own (a description with spaces stays one word).
//   1. kUpdaterProtocol: the form of the words that follow
//   2. the file list ("name,size,sha256|..."; see docs/update.md)
//   3. the target directory, ending with "/"
//   4. the description of the new version
//   5. the program to start when done (full path; a bare directory when the
//      description names none)
// Words are native strings (UTF-8 on Linux).

#include <optional>
#include <string>
#include <vector>

namespace quillet {

inline constexpr char kUpdaterProtocol[] = "3";
// The updater's file name beside the program.
inline constexpr char kUpdaterFileName[] = "Update";

struct UpdaterWords {
  std::string fileList;
  std::string targetDirectory;
  std::string description;
  std::string startProgram;
};

std::vector<std::string> UpdaterArguments(const UpdaterWords& words);

// The words from the arguments after the program name; nullopt unless there
// are exactly five and the first is kUpdaterProtocol.
std::optional<UpdaterWords> ParseUpdaterArguments(const std::vector<std::string>& arguments);

}  // namespace quillet
