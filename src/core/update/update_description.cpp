#include "core/update/update_description.h"

namespace quillet {

UpdateDescription ReadUpdateDescription(std::string_view decoded) {
  UpdateDescription result;
  result.version = TextBetween(decoded, Gbk("更新版本{"), "}");
  result.description = TextBetween(decoded, Gbk("新版介绍{"), "}");
  // A list written over several lines reaches the updater as one word.
  result.fileList = TextReplace(TextBetween(decoded, Gbk("文件列表{"), "}"), "\r\n", "");
  result.startProgram = TextBetween(decoded, Gbk("启动软件{"), "}");
  return result;
}

}  // namespace quillet
