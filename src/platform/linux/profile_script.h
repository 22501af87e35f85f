#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A variable as the profile script keeps it, in UTF-8.
struct ProfileVariable {
  std::string name;
  std::string value;  // the stores' own form: %NAME%, ";" and "\"
};

// The lines a login shell runs for `variables`. Each variable is kept twice:
// as a comment holding the value exactly as it was stored, which is what
// reading gives back, and as an export in shell syntax: "%NAME%" becomes
// "${NAME}", ";" ":", "\" "/", empty list elements are dropped (an empty PATH
// element would mean the current folder), and "Path" is the shell's PATH.
// Variables without references come first, so JAVA_HOME is set before a
// PATH that names it. Nothing when a name is not a shell identifier or a
// value holds a line break or zero byte.
std::optional<std::string> RenderProfileLines(const std::vector<ProfileVariable>& variables);

// The variables kept in profile lines written by RenderProfileLines, in order.
std::vector<ProfileVariable> ParseProfileLines(std::string_view lines);

// The value in shell syntax, inside double quotes.
std::string ShellValue(std::string_view value);

// "Path" in any letter case is the shell's PATH; other names stay.
std::string ShellName(std::string_view name);

}  // namespace quillet
