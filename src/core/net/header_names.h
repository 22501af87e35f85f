#pragma once

// Header texts: "Name: value" lines separated by CR LF.

#include <string_view>
#include <vector>

#include "core/text/text.h"

namespace quillet {

// Upper-cases the first letter of every "-"-separated part of each line's
// name, leaves everything else alone, drops empty lines and lines without a
// colon, and joins the lines with CR LF (no final CR LF).
Text NormaliseHeaderNames(std::string_view headers);

// The name of a header line: the text before its first colon, trimmed; empty
// for a line without a colon.
Text HeaderLineName(std::string_view line);
// The value of a header line: the text after its first colon, trimmed.
Text HeaderLineValue(std::string_view line);

// True when some line of `headers` is named `name` (ASCII case ignored).
bool HasHeaderLine(std::string_view headers, std::string_view name);

}  // namespace quillet
