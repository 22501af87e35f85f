#include "core/update/update_check.h"

#include <string>

#include "core/net/winhttp_fetch.h"
#include "core/platform/new_file_writer.h"
#include "core/platform/process_launcher.h"
#include "core/platform/run_directory.h"
#include "core/text/encodings.h"
#include "core/update/update_description.h"
#include "core/update/updater_command_line.h"
#include "core/update/version_order.h"

namespace quillet {

namespace {

Text JoinWords(const std::vector<std::string>& words) {
  Text line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    line += word;
  }
  return line;
}

}  // namespace

UpdateCheckOutcome CheckForUpdate(const UpdateCheckServices& services, UpdateRecord* record) {
  UpdateRecord scratch;
  UpdateRecord& out = record != nullptr ? *record : scratch;

  // A deployment may write the address with a trailing "/"; the path brings its own.
  std::string_view server = services.updateServerUrl;
  while (!server.empty() && server.back() == '/') server.remove_suffix(1);
  const Text page = services.fetch ? services.fetch(Text(server) + kUpdateDescriptionPath) : Text();
  const UpdateDescription found = ReadUpdateDescription(UrlDecode(page, false));
  const Text own = services.ownVersion ? services.ownVersion() : Text();

  // The run directory is native (UTF-8); the record keeps the program's code
  // page like every other text it holds.
  const std::string runDirectory =
      services.runDirectory != nullptr ? services.runDirectory->Directory() : std::string();
  const Text runDirectoryText = Utf8ToAnsi(runDirectory);
  out[UpdateRecord::kOwnVersion] = own;
  out[UpdateRecord::kPublishedVersion] = found.version;
  out[UpdateRecord::kDescription] = found.description;
  out[UpdateRecord::kFileList] = found.fileList;
  out[UpdateRecord::kTargetDirectory] = runDirectoryText + "/";
  out[UpdateRecord::kFirstWord] = kUpdaterProtocol;
  out[UpdateRecord::kUnused].clear();
  out[UpdateRecord::kStartProgram] = runDirectoryText + "/" + found.startProgram;

  if (!IsNewerVersion(found.version, own)) return UpdateCheckOutcome::kNoUpdate;
  if (services.runDirectory == nullptr || services.fileWriter == nullptr ||
      services.launcher == nullptr) {
    return UpdateCheckOutcome::kHandOverFailed;
  }

  const std::string updaterPath = runDirectory + "/" + kUpdaterFileName;
  if (!services.fileWriter->Exists(updaterPath)) {
    // An empty file would only be a broken updater left behind.
    if (services.updaterBytes.empty() ||
        !services.fileWriter->WriteNew(updaterPath, services.updaterBytes, true)) {
      return UpdateCheckOutcome::kHandOverFailed;
    }
  }

  const UpdaterWords words{AnsiToUtf8(found.fileList), runDirectory + "/",
                           AnsiToUtf8(found.description),
                           runDirectory + "/" + AnsiToUtf8(found.startProgram)};
  const std::vector<std::string> arguments = UpdaterArguments(words);
  out[UpdateRecord::kCommandLine] = Utf8ToAnsi(JoinWords(arguments));
  if (!services.launcher->StartDetached(updaterPath, arguments, runDirectory)) {
    out[UpdateRecord::kCommandLine].clear();
    return UpdateCheckOutcome::kHandOverFailed;
  }
  if (services.endProgram) services.endProgram();
  return UpdateCheckOutcome::kHandedOver;
}

std::function<Text(const Text& url)> WinHttpUpdateFetch(EventPump* pump) {
  return [pump](const Text& url) {
    WinHttpFetchArgs args;
    args.url = url;
    args.pump = pump;
    return WinHttpFetch(args);
  };
}

}  // namespace quillet
