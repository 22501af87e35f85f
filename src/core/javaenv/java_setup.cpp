#include "core/javaenv/java_setup.h"

namespace quillet {

using namespace setup_dialog;

Text JdkPathPlaceholder() { return Gbk("Jdk 路径.."); }

Text JdkFolderDialogTitle() { return Gbk("jdk文件夹"); }

Text JavaClassPathValue() { return ".;%JAVA_HOME%\\lib\\dt.jar;%JAVA_HOME%\\lib\\tools.jar;"; }

Text JavaPathValue(const Text& currentPath) {
  const Text entries = "%JAVA_HOME%\\bin;%JAVA_HOME%\\jre\\bin;";
  if (currentPath.empty() || currentPath.back() == ';') return currentPath + entries;
  return currentPath + ";" + entries;
}

void ConfigureJavaEnvironment(const JavaSetupServices& services, JavaEnvironmentPage& page) {
  EnvironmentStore store(services.environment, services.pump);
  std::vector<Text> listing;
  store.List(listing);
  // The value as stored, references unexpanded: it is written back whole.
  const Text currentPath = ValueFromListing(listing, "Path");
  store.Backup();
  store.Write("JAVA_HOME", page.JdkPath());
  store.Write("CLASSPATH", JavaClassPathValue());
  store.Write("Path", JavaPathValue(currentPath));
  RefreshEnvironment(services.runner, services.pump, page);
  store.Destroy();
}

SetupOutcome OnSetupButtonClicked(const JavaSetupServices& services, JavaEnvironmentPage& page) {
  const Text path = page.JdkPath();
  if (path.empty() || path == JdkPathPlaceholder()) {
    services.messages.ShowTaskMessage(Gbk("错误的JDK路径"), Gbk("错误信息"), " ", kOkButton,
                                      kErrorIcon);
    return SetupOutcome::kBadPath;
  }
  // Writing a folder without a compiler would only leave the user with a
  // broken set-up to clean by hand.
  if (!services.jdks.HoldsCompiler(path)) {
    services.messages.ShowTaskMessage(
        Gbk("所选文件夹不是JDK文件夹"), Gbk("错误信息"),
        Gbk("在该文件夹的 bin 子文件夹中没有找到 javac，请选择JDK的安装文件夹。"), kOkButton,
        kErrorIcon);
    return SetupOutcome::kNotAJdk;
  }
  if (page.JavaStatus() == JavaConfiguredText()) {
    const int pressed = services.messages.ShowTaskMessage(
        Gbk("您已成功配置Java环境，重复该操作可能会导致异常！"), Gbk("错误信息"),
        Gbk("确定继续配置？"), kOkButton | kNoButton, kInformationIcon);
    if (pressed != kOkPressed) return SetupOutcome::kDeclined;
  }
  ConfigureJavaEnvironment(services, page);
  return SetupOutcome::kConfigured;
}

bool UndoJavaSetup(EnvironmentBackend& environment) {
  return environment.Restore(EnvironmentScope::kSystem);
}

Text JdkDialogStartFolder(JdkLocator& jdks) {
  const std::vector<Text> candidates = jdks.Candidates();
  return candidates.empty() ? Text() : candidates.front();
}

}  // namespace quillet
