#pragma once

// The file version of a program file, read from the version record the
// build embeds (version_record.h); the main window's version line and the
// update check use it.

#include <string_view>

#include "core/text/text.h"

namespace quillet {

class RunDirectory;

// The version text of `fileName` (native path bytes), or of the program's
// own file (`self.ProgramPath()`) when it is empty. A given name must be an
// absolute path ("/" first, after doubled slashes are collapsed); otherwise
// `errorText` gets "当前文件名不符合规范". Failures leave the result empty and
// name their step in `errorText` (when given):
//   the file cannot be opened, is not a regular file or is empty:
//     "GetFileVersionInfoSize（获取信息长度）失败"
//   its bytes cannot be read: "GetFileVersionInfo（获取信息）失败"
//   it carries no version record: "VerQueryValue（查询Version）失败"
//   a record with an unusable version: empty, no error text.
// With `majorMinor` a version of four parts gives its first two ("1.0" for
// 1.0.0.0); any other shape comes back whole.
Text FileVersionText(const RunDirectory& self, std::string_view fileName = {},
                     Text* errorText = nullptr, bool majorMinor = true);

}  // namespace quillet
