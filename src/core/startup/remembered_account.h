#pragma once

// The remembered account, data.dll beside the program: a code page 936 text
// holding either "userCode=[account]\r\nuserPassword=[password]" (auto-login)
// or "userCode=[account]" (remember the account only). Older copies of the
// program read the same file, so its shape stays exactly this.

#include <string>

#include "core/text/text.h"

namespace quillet {

inline constexpr const char kAccountFileName[] = "data.dll";

struct RememberedAccount {
  bool autoLogOn = false;  // both names present: the password was stored too
  Text account;
  Text password;
};

// What a file text restores. Anything else than the two records, the empty
// text included, gives the account (if any) with auto-login off.
RememberedAccount ParseAccountFile(const Text& text);

Text AccountRecord(const Text& account);
Text AccountAndPasswordRecord(const Text& account, const Text& password);

// The file's text up to its first zero byte; empty when missing, unreadable
// or not a plain file. Only the first 64 KiB are read: a real record is a few
// dozen bytes, and a runaway file must not stall the window.
Text ReadAccountFile(const std::string& path);

// Atomic, readable by the owner only: it may hold a password in plain text.
bool WriteAccountFile(const std::string& path, const Text& record);
bool RemoveAccountFile(const std::string& path);

}  // namespace quillet
