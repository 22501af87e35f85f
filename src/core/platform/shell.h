#pragma once

#include <string>

namespace quillet {

// The desktop's shell: the default browser, the file's default program and a
// console window. Paths and addresses are native file-system bytes (UTF-8 on
// Linux). Each call only starts something and never waits for it; the result
// says whether it could be started.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address in the default browser.
  virtual bool OpenUrl(const std::string& url) = 0;
  // Opens a file (or folder) with the program the desktop associates with it.
  virtual bool OpenFile(const std::string& path) = 0;
  // Opens a console window, shown and active, that runs `command` through the
  // command interpreter and then stays open for the user.
  virtual bool OpenTerminal(const std::string& command) = 0;
};

}  // namespace quillet
