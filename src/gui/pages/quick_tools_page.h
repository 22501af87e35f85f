#pragma once

// The quick-tools page: the files of the QuickTools folder beside the
// program, listed on a worker thread and shown in 快捷工具列表框 with their
// desktop icons; a double-click opens the file through the shell.

#include <functional>

namespace quillet {

struct AppContext;
class MainWindow;

// Starts the listing and returns at once. The paths (QuickToolPaths) are in
// place before the first item appears; the items are added on the GUI thread
// one by one, in the order the folder gives the files.
void StartQuickTools(MainWindow& window, AppContext& context);

std::function<void(MainWindow&)> MakeStartQuickTools(AppContext& context);

}  // namespace quillet
