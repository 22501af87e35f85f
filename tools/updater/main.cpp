// Update: the updater the program writes beside itself and starts with five
// words (see core/update/updater_command_line.h) when a newer version is
// published. It takes the files from the update server the program was built
// for.

#include <curl/curl.h>

#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/linux/posix_process_launcher.h"
#include "quillet/build_settings.h"
#include "updater_prompts.h"
#include "updater_window.h"

int main(int argc, char** argv) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("软件更新"));
  quillet::updater::MessageBoxPrompts prompts;

  const auto words =
      quillet::ParseUpdaterArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (!words) {
    prompts.ShowError(nullptr, QStringLiteral("更新参数不正确，请从软件中启动更新。"));
    return 2;
  }

  quillet::PosixProcessLauncher launcher;
  quillet::updater::UpdaterWindow window(
      {quillet::build::kUpdateServerUrl, *words, &launcher, &prompts});
  int exitCode = 1;
  QObject::connect(&window, &quillet::updater::UpdaterWindow::finished, &app,
                   [&exitCode](bool updated) {
                     exitCode = updated ? 0 : 1;
                     QApplication::quit();
                   });
  window.show();
  QTimer::singleShot(0, &window, &quillet::updater::UpdaterWindow::Start);
  app.exec();
  curl_global_cleanup();
  return exitCode;
}
