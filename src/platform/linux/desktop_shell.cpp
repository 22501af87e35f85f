#include "platform/linux/desktop_shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/posix_process_launcher.h"

namespace quillet {

namespace {

// In order of preference: the Debian alternative first, then the common
// desktops' own terminals, xterm last.
constexpr const char* kTerminals[] = {"x-terminal-emulator", "gnome-terminal", "konsole",
                                      "xfce4-terminal",      "mate-terminal",  "lxterminal",
                                      "qterminal",           "xterm"};

}  // namespace

TerminalCommand TerminalInvocation(const std::string& terminal, const std::string& command) {
  // The console stays open after the command, whether it was found or not,
  // so the user can read the interpreter's answer.
  const std::vector<std::string> shellArgs = {"/bin/sh", "-c", command + "; exec /bin/sh"};
  TerminalCommand t{terminal, {}};
  if (terminal == "gnome-terminal" || terminal == "mate-terminal") {
    t.arguments.push_back("--");
  } else if (terminal == "xfce4-terminal") {
    t.arguments.push_back("-x");
  } else {
    t.arguments.push_back("-e");
  }
  t.arguments.insert(t.arguments.end(), shellArgs.begin(), shellArgs.end());
  return t;
}

bool DesktopShell::OpenUrl(const std::string& url) {
  return !url.empty() && launcher_.StartDetached("xdg-open", {url}, {});
}

bool DesktopShell::OpenFile(const std::string& path) {
  if (path.empty()) return false;
  // As a double-click in a file manager does: a launcher starts its
  // program (xdg-open would hand a .desktop file to a text editor), a
  // program file runs, and anything else opens in its associated program.
  if (path.ends_with(".desktop") && !FindProgram("gio").empty()) {
    return launcher_.StartDetached("gio", {"launch", path}, {});
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      ::access(path.c_str(), X_OK) == 0) {
    return launcher_.StartDetached(path, {}, {});
  }
  return launcher_.StartDetached("xdg-open", {path}, {});
}

bool DesktopShell::OpenTerminal(const std::string& command) {
  for (const char* terminal : kTerminals) {
    if (FindProgram(terminal).empty()) continue;
    const TerminalCommand t = TerminalInvocation(terminal, command);
    return launcher_.StartDetached(t.program, t.arguments, {});
  }
  return false;
}

}  // namespace quillet
