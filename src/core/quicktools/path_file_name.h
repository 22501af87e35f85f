#pragma once

#include <string>

namespace quillet {

// The file-name part of `path` (after its last "/"). Empty when the path
// ends with "/". Without `keepExtension` the last "." and what follows go:
// "a.b.c.txt" gives "a.b.c", ".gitignore" gives "" and "README" stays.
std::string PathFileName(const std::string& path, bool keepExtension = false);

}  // namespace quillet
