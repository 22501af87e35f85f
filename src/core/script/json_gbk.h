#pragma once

// The crossing between the program's code page 936 texts and the UTF-8 held
// in the value tree.

#include <string>
#include <string_view>

#include "core/text/text.h"

namespace quillet::json {

// An argument text as UTF-8. Like every Text it ends at a zero byte.
std::string Utf8FromAnsi(std::string_view ansi);

// The argument as UTF-8 without a copy when it is plain ASCII: the view is
// into `ansi` or into `storage`.
std::string_view Utf8View(std::string_view ansi, std::string& storage);

// A result as code page 936 (a character it cannot hold becomes "?"), ending
// at a zero byte. With `restoreBackslashes` every U+2400 placeholder becomes
// the backslash it stands for.
Text AnsiFromUtf8(std::string_view utf8, bool restoreBackslashes);
// The same, reusing the buffer when nothing needs converting.
Text AnsiFromUtf8(std::string&& utf8, bool restoreBackslashes);

// SetValue's text mode keeps backslashes as U+2400, the placeholder the
// text outputs turn back.
std::string BackslashesToPlaceholders(std::string_view utf8);

}  // namespace quillet::json
