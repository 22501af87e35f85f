#include "server_options.h"

#include <arpa/inet.h>

#include "quillet/build_settings.h"

namespace quillet::server {
namespace {

bool IsAppKey(const std::string& key) {
  if (key.size() != 32) return false;
  for (char c : key) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

bool ParsePort(const std::string& text, int* port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > 65535) return false;
  *port = value;
  return true;
}

bool IsIpAddress(const std::string& text) {
  unsigned char buffer[16];
  return inet_pton(AF_INET, text.c_str(), buffer) == 1 ||
         inet_pton(AF_INET6, text.c_str(), buffer) == 1;
}

}  // namespace

std::string ServerUsage() {
  return "usage: quillet-server [options]\n"
         "  --port N          TCP port to listen on (default 18080; 0 picks a free one)\n"
         "  --db PATH         SQLite database file (default quillet-server.db)\n"
         "  --app-key KEY     application key, 32 letters and digits (default: the build's)\n"
         "  --cipher-key KEY  accept RC4-enciphered \"data=\" requests with this key\n"
         "  --bind ADDRESS    address to listen on (default 127.0.0.1)\n"
         "  --update-dir DIR  serve /QuilletUpdate/ (update.txt and the files it lists) from DIR\n"
         "  --help            show this text\n";
}

ParsedOptions ParseServerOptions(const std::vector<std::string>& args) {
  ParsedOptions out;
  out.config.account.appKey = build::kAppKey;
  out.config.account.appId = build::kAppId;
  for (std::size_t k = 0; k < args.size(); ++k) {
    std::string name = args[k];
    std::string value;
    bool hasValue = false;
    if (const std::size_t eq = name.find('=');
        name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    if (name == "--help" || name == "-h") {
      out.showHelp = true;
      continue;
    }
    if (name != "--port" && name != "--db" && name != "--app-key" && name != "--cipher-key" &&
        name != "--bind" && name != "--update-dir") {
      out.error = "unknown argument: " + args[k];
      return out;
    }
    if (!hasValue) {
      if (k + 1 >= args.size()) {
        out.error = name + " needs a value";
        return out;
      }
      value = args[++k];
    }
    if (name == "--port") {
      if (!ParsePort(value, &out.config.port)) {
        out.error = "--port wants a number from 0 to 65535, not \"" + value + "\"";
        return out;
      }
    } else if (name == "--db") {
      if (value.empty()) {
        out.error = "--db wants a file name";
        return out;
      }
      out.config.dbPath = value;
    } else if (name == "--app-key") {
      if (!IsAppKey(value)) {
        out.error = "--app-key wants exactly 32 letters and digits";
        return out;
      }
      out.config.account.appKey = value;
    } else if (name == "--cipher-key") {
      if (value.empty()) {
        out.error = "--cipher-key wants a non-empty key";
        return out;
      }
      out.config.account.cipherKey = value;
    } else if (name == "--bind") {
      if (!IsIpAddress(value)) {
        out.error = "--bind wants an IP address, not \"" + value + "\"";
        return out;
      }
      out.config.bind = value;
    } else if (name == "--update-dir") {
      if (value.empty()) {
        out.error = "--update-dir wants a folder";
        return out;
      }
      out.config.updateDir = value;
    }
  }
  return out;
}

}  // namespace quillet::server
