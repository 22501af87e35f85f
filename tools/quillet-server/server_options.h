#pragma once

// The command line of quillet-server.

#include <string>
#include <vector>

#include "quillet_server.h"

namespace quillet::server {

struct ParsedOptions {
  ServerConfig config;
  bool showHelp = false;
  std::string error;  // not empty: the arguments are unusable
};

// Arguments after the program name. "--name value" and "--name=value".
ParsedOptions ParseServerOptions(const std::vector<std::string>& args);

std::string ServerUsage();

}  // namespace quillet::server
